#!/usr/bin/env python3
"""Builds the standard pipe catalogue data/Common/Materialy/Potrubi_std.kvp from its readable
source data/src/Potrubi_std.txt.

    tools/potrubi_std.py            writes the catalogue
    tools/potrubi_std.py --check    fails when the committed catalogue differs from the source
    tools/potrubi_std.py SRC OUT    other files
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kvpformat as kvp  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCE = os.path.join(ROOT, "data", "src", "Potrubi_std.txt")
TARGET = os.path.join(ROOT, "data", "Common", "Materialy", "Potrubi_std.kvp")


class SourceError(Exception):
    pass


def mask(value, names, line):
    result = 0
    for part in [p.strip() for p in value.split(",") if p.strip()]:
        if part not in names:
            raise SourceError(f"line {line}: unknown value {part!r}")
        result |= names[part]
    if not result:
        raise SourceError(f"line {line}: at least one value is needed")
    return result


def label(value, material, line):
    if value in ("DN", "D x t"):
        material.label_type = kvp.LABEL_TYPES.index(value)
        return
    m = re.fullmatch(r'Jiný\s+"([^"]*)"\s+"([^"]*)"\s+(vnější|vnitřní)', value)
    if not m:
        raise SourceError(f"line {line}: bad label {value!r}")
    if len(m.group(1)) > 4 or len(m.group(2)) > 4:
        raise SourceError(f"line {line}: prefix and suffix have at most 4 characters")
    material.label_type = 2
    material.prefix, material.suffix = m.group(1), m.group(2)
    material.inner_flag = m.group(3) == "vnitřní"


def parse(text):
    materials = []
    current = None
    dn_rows = {row[0]: i for i, row in enumerate(kvp.DN_TABLE)}
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        m = re.fullmatch(r"(DN \d+)\s+(\d+)\s+(\d+(?:\.\d+)?)", line)
        if m:
            if current is None:
                raise SourceError(f"line {number}: a profile outside a material")
            if m.group(1) not in dn_rows:
                raise SourceError(f"line {number}: {m.group(1)} is not a row of the DN table")
            dn = dn_rows[m.group(1)]
            if any(p.dn == dn for p in current.profiles):
                raise SourceError(f"line {number}: {m.group(1)} twice in {current.name}")
            outer = int(m.group(2))
            wall = kvp.f32(float(m.group(3)))
            inner = kvp.f32(outer - 2 * wall)
            if wall <= 0 or inner <= 0:
                raise SourceError(f"line {number}: the wall leaves no bore")
            current.profiles.append(kvp.Profile(dn, inner, wall, outer))
            continue
        key, sep, value = line.partition(":")
        if not sep:
            raise SourceError(f"line {number}: cannot read {line!r}")
        key, value = key.strip(), value.strip()
        if key == "material":
            if not value or len(value) > 20:
                raise SourceError(f"line {number}: a name has 1 to 20 characters")
            if any(x.name == value for x in materials):
                raise SourceError(f"line {number}: {value} twice")
            current = kvp.Material(value, short=value)
            materials.append(current)
            continue
        if current is None:
            raise SourceError(f"line {number}: {key} outside a material")
        if key == "podrobny":
            current.detail = value
        elif key == "vyrobce":
            if len(value) > 25:
                raise SourceError(f"line {number}: a manufacturer has at most 25 characters")
            current.maker = value
        elif key == "drsnost":
            current.roughness = float(value)
            if not 0.01 <= current.roughness <= 3.0:
                raise SourceError(f"line {number}: roughness out of 0.01..3.0")
        elif key == "oblast":
            current.area = mask(value, kvp.FIELDS, number)
        elif key == "medium":
            current.medium = mask(value, kvp.MEDIA, number)
        elif key == "popis":
            label(value, current, number)
        elif key == "pn":
            if value not in kvp.PN_TABLE:
                raise SourceError(f"line {number}: {value!r} is not a PN row")
            current.pn = kvp.PN_TABLE.index(value)
        elif key == "sdr":
            if value not in kvp.SDR_TABLE:
                raise SourceError(f"line {number}: {value!r} is not an SDr row")
            current.sdr = kvp.SDR_TABLE.index(value)
        elif key == "tvar":
            if value not in kvp.SHAPES:
                raise SourceError(f"line {number}: unknown shape {value!r}")
            current.shape = kvp.SHAPES.index(value)
        else:
            raise SourceError(f"line {number}: unknown key {key!r}")
    if not materials:
        raise SourceError("no material")
    return materials


def build(source):
    with open(source, encoding="utf-8") as f:
        return kvp.catalogue(parse(f.read()))


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if a != "--check"]
    source = args[0] if args else SOURCE
    target = args[1] if len(args) > 1 else TARGET
    try:
        data = build(source)
    except (SourceError, ValueError) as e:
        print(f"{source}: {e}", file=sys.stderr)
        return 1
    if check:
        try:
            with open(target, "rb") as f:
                current = f.read()
        except OSError as e:
            print(f"{target}: {e}", file=sys.stderr)
            return 1
        if current != data:
            print(f"{target} differs from {source}: run tools/potrubi_std.py", file=sys.stderr)
            return 1
        return 0
    os.makedirs(os.path.dirname(target), exist_ok=True)
    tmp = target + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, target)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
