"""Writer of the pipe catalogue files (".kvp") in every version of the format.

The files are the class library's archive of the material list: little-endian numbers, IEEE
single floats, archive strings (0xFF, 0xFFFE, a length in UTF-16 units, the units), short texts
of fixed capacity as UTF-16 units ended by a 0 unit. The current writer versions are list 3,
material 5 and profile 6; older versions are written for test files.
"""

import struct
import dataclasses

# The DN table: display text, DN value, outer diameter of a plastic pipe.
DN_TABLE = [
    ("DN 8", 8, 10), ("DN 10", 10, 16), ("DN 12", 12, 18), ("DN 15", 15, 20),
    ("DN 20", 20, 25), ("DN 25", 25, 32), ("DN 32", 32, 40), ("DN 40", 40, 50),
    ("DN 50", 50, 63), ("DN 65", 65, 75), ("DN 80", 80, 90), ("DN 100", 100, 110),
    ("DN 125", 125, 125), ("DN 150", 150, 160), ("DN 200", 200, 200), ("DN 225", 225, 225),
    ("DN 250", 250, 250), ("DN 300", 300, 315), ("DN 350", 350, 350), ("DN 400", 400, 400),
    ("DN 450", 450, 450), ("DN 500", 500, 500), ("DN 600", 600, 600), ("DN 700", 700, 700),
    ("DN 800", 800, 800), ("DN 900", 900, 900), ("DN 1000", 1000, 1000),
    ("DN 1200", 1200, 1200),
]
PN_TABLE = ["---", "PN 6", "PN 10", "PN 16", "PN 25", "PN 40", "PN 63"]
SDR_TABLE = ["---", "SDr 6", "SDr 7.4", "SDr 9", "SDr 11", "SDr 13.6", "SDr 17", "SDr 17.6"]
SHAPES = ["Kruh", "Vejce", "Vejce - Praha", "Tlama", "Obdélník"]
LABEL_TYPES = ["DN", "D x t", "Jiný"]
FIELDS = {"ZTI": 1, "Inženýrské sítě": 2}
MEDIA = {"Kanalizace": 1, "Kan. tlaková": 2, "Voda": 4, "Plyn": 8, "Teplovody/UT": 16}


def f32(v):
    """The value as the single-precision float the file stores."""
    return struct.unpack("<f", struct.pack("<f", v))[0]


def u8(v):
    return struct.pack("<B", v)


def i16(v):
    return struct.pack("<h", v)


def i32(v):
    return struct.pack("<i", v)


def u32(v):
    return struct.pack("<I", v)


def u64(v):
    return struct.pack("<Q", v)


def flt(v):
    return struct.pack("<f", v)


def length(n):
    if n < 0xFF:
        return u8(n)
    if n < 0xFFFE:
        return b"\xff" + struct.pack("<H", n)
    return b"\xff\xff\xff" + u32(n)


def string(s):
    """The archive form of a UTF-16 string."""
    units = s.encode("utf-16-le")
    return b"\xff" + struct.pack("<H", 0xFFFE) + length(len(units) // 2) + units


def string8(s):
    """The archive form of an 8-bit string (Windows-1250)."""
    data = s.encode("cp1250")
    return length(len(data)) + data


def text(s, w):
    """TEXT(w): at most w units, then a 0 unit."""
    return s[:w].encode("utf-16-le") + b"\0\0"


def oldtext(s, n):
    """OLDTEXT(n): exactly n+1 units, the text ended by a 0 unit inside them."""
    data = s[:n].encode("utf-16-le")
    return data + b"\0" * (2 * (n + 1) - len(data))


@dataclasses.dataclass
class Profile:
    dn: int  # row of the current table
    inner: float
    wall: float
    outer: int
    width: int = 0
    code_material: str = ""
    code_work: str = ""
    old_label: str = ""


@dataclasses.dataclass
class Material:
    name: str
    detail: str = ""
    maker: str = ""
    roughness: float = 0.01
    medium: int = 31
    area: int = 3
    pn: int = -1
    sdr: int = -1
    label_type: int = 1
    inner_flag: bool = False
    prefix: str = ""
    suffix: str = ""
    shape: int = 0
    short: str = ""  # stored by version 6 only
    profiles: list = dataclasses.field(default_factory=list)


def profile_record(p, version=6):
    dn = p.dn
    if version <= 2 and dn >= 15:
        dn -= 1  # the table had no row "DN 225"
    out = u8(version) + i16(dn) + flt(p.inner) + flt(p.wall) + i32(p.outer)
    if version >= 5:
        out += u32(p.width)
    out += oldtext(p.code_material, 10) if version <= 3 else text(p.code_material, 10)
    if version >= 5:
        out += text(p.code_work, 10)
    if version <= 1:
        out += oldtext(p.old_label, 10)
    elif version <= 3:
        out += oldtext(p.old_label, 14)
    elif version <= 5:
        out += text(p.old_label, 14)
    return out


def material_record(m, version=5, profile_version=6):
    out = u8(version)
    if version <= 2:
        out += u8(1 if m.label_type == 0 else 0)
    else:
        out += u8(m.label_type) + u8(1 if m.inner_flag else 0)
        if version == 3:
            out += oldtext(m.prefix, 4) + oldtext(m.suffix, 4)
        else:
            out += text(m.prefix, 4) + text(m.suffix, 4)
    out += string(m.name) + string(m.detail) + string(m.maker)
    out += flt(m.roughness) + i16(m.medium) + i16(m.area) + i16(m.pn) + i16(m.sdr)
    if version >= 5:
        out += u8(m.shape)
    profiles = sorted(m.profiles, key=lambda p: p.dn)
    if version <= 1:
        out += u64(len(profiles))
    for p in profiles:
        out += profile_record(p, profile_version)
    if version >= 2:
        out += u8(0xFF)
    if version == 6:
        out += string(m.short)
    return out


def catalogue(materials, version=3, material_version=5, profile_version=6):
    """A whole list, materials in the order of their names (UTF-16 code units compared)."""
    mats = sorted(materials, key=lambda m: m.name.encode("utf-16-be"))
    out = u8(version)
    if version <= 1:
        out += u64(len(mats))
    for m in mats:
        out += material_record(m, material_version, profile_version)
    if version >= 2:
        out += u8(0xFF)
    if version <= 2:
        out += u32(0) * 3
    return out
