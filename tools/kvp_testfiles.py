#!/usr/bin/env python3
"""Writes the hand-made catalogue files of the tests (tests/data/kvp): one per older version of
the format, and files that a reader must refuse. tests/unit/app/test_materialy_soubory.cpp states
what each must read as; the fuzzer of the reader starts from them."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import kvpformat as kvp  # noqa: E402
from kvpformat import Material, Profile  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TARGET = os.path.join(ROOT, "tests", "data", "kvp")


def old_pair():
    """A material with DN 200 (row 14) and DN 250 (row 16), stored before row 15 existed."""
    return Material("Stará PVC", detail="PVC z roku 2001", maker="Plasty", roughness=0.25,
                    medium=1, area=2, pn=0, sdr=0, label_type=0,
                    profiles=[Profile(14, 192.0, 4.0, 200, code_material="1234567890",
                                      old_label="DN 200"),
                              Profile(16, 240.0, 5.0, 250, code_material="KOD", old_label="DN 250")])


def files():
    out = {}
    # Versions 0 and 1: counts instead of end markers, a flag for the DN label, reserved words.
    out["v0.kvp"] = kvp.catalogue([old_pair()], 0, 0, 0)
    out["v1.kvp"] = kvp.catalogue([old_pair()], 1, 1, 1)
    # Version 2: end markers; the flag false gives labels "D x t".
    m = old_pair()
    m.name, m.label_type = "Ocel 2", 1
    m.profiles[0].old_label = "200x4.0 staré"
    out["v2.kvp"] = kvp.catalogue([m], 2, 2, 2)
    # Version 3: label type, inner flag and the old fixed prefix and suffix.
    m = Material("Vlastní 3", detail="", maker="", roughness=0.01, medium=4, area=1, pn=3,
                 sdr=4, label_type=2, inner_flag=True, prefix="Ø", suffix="mm",
                 profiles=[Profile(15, 200.6, 12.2, 225, code_material="A1", old_label="Ø201mm")])
    out["v3.kvp"] = kvp.catalogue([m], 3, 3, 3)
    # Version 4: the short texts of today.
    m = Material("Jiný 4", label_type=2, prefix="d", suffix="", medium=0, area=0, pn=-1, sdr=-1,
                 profiles=[Profile(11, 90.0, 10.0, 110, code_material="0123456789",
                                   old_label="d110")])
    out["v4.kvp"] = kvp.catalogue([m], 3, 4, 4)
    # Version 5 (today's material) with profiles of version 5: width and installation code.
    m = Material("Vejce 5", label_type=0, shape=1, medium=1, area=2, pn=0, sdr=0,
                 profiles=[Profile(13, 150.0, 0.0, 150, width=100, code_material="V5",
                                   code_work="M5", old_label="DN 150")])
    out["v5.kvp"] = kvp.catalogue([m], 3, 5, 5)
    # Version 6 material: the short description after the profiles.
    m = Material("PE 6", short="Polyetylen", detail="PE 100", medium=4, area=3, pn=3, sdr=4,
                 label_type=1,
                 profiles=[Profile(11, 90.0, 10.0, 110, width=7, code_material="M6",
                                   code_work="W6")])
    out["v6.kvp"] = kvp.catalogue([m], 3, 6, 6)
    # Refused: a list of version 4, a material of version 7, a profile of version 7, a code text
    # without its 0 unit, a profile of a row outside the table, a DN row twice.
    out["list_v4.kvp"] = bytes([4]) + kvp.catalogue([old_pair()])[1:]
    out["material_v7.kvp"] = kvp.catalogue([old_pair()], 3, 7, 6)
    good = Material("Dobrý", profiles=[Profile(1, 10.0, 3.0, 16)])
    bad = Material("Zlý", profiles=[Profile(11, 90.0, 10.0, 110)])
    data = kvp.catalogue([good, bad])
    out["profile_v7.kvp"] = data.replace(kvp.profile_record(bad.profiles[0]),
                                         bytes([7]) + kvp.profile_record(bad.profiles[0])[1:])
    record = kvp.profile_record(bad.profiles[0])
    unterminated = record[:-4] + "ABCDEFGHIJK".encode("utf-16-le")
    out["unterminated.kvp"] = data.replace(record, unterminated)
    out["dn_range.kvp"] = kvp.catalogue([good, Material("Zlý", profiles=[
        Profile(28, 90.0, 10.0, 110)])])
    out["dn_twice.kvp"] = kvp.catalogue([good, Material("Zlý", profiles=[
        Profile(11, 90.0, 10.0, 110), Profile(11, 91.0, 9.5, 110)])])
    # The name in the 8-bit form of the archive (Windows-1250).
    m = Material("Měď 8", profiles=[Profile(3, 16.0, 1.0, 18)])
    rec = kvp.material_record(m)
    out["ansi_name.kvp"] = bytes([3]) + rec.replace(kvp.string("Měď 8"), kvp.string8("Měď 8")) + \
        bytes([0xFF])
    return out


def main():
    os.makedirs(TARGET, exist_ok=True)
    for name, data in files().items():
        with open(os.path.join(TARGET, name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
