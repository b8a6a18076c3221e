#!/usr/bin/env python3
"""Compiles a shape source (.shp) into a compiled shape file (.shx).

Usage: shpcompile.py SOURCE.shp OUTPUT.shx

The source holds shape definitions: a header line "*NUMBER,DEFBYTES,NAME" followed by the
drawing bytes, separated by commas over as many lines as needed, the last one 0. A byte is a
decimal number (with an optional sign) or, when written with a leading zero, a hexadecimal one
("012" is 0x12); parentheses only group. DEFBYTES counts the drawing bytes with the final 0.
";" starts a comment. The source is 8-bit text in Windows-1250.

The compiled file: the signature "AutoCAD-86 shapes 1.0" with CR LF and Ctrl-Z, the lowest and
the highest shape number and the count of shapes (16-bit little-endian), an index of the shapes
(number, length of name and bytes), then each shape's name with a terminating zero followed by
its drawing bytes.
"""
import struct
import sys

SIGNATURE = b"AutoCAD-86 shapes 1.0\r\n\x1a"


class ShapeError(Exception):
    pass


def parse_byte(token, where):
    text = token.strip().replace("(", "").replace(")", "").strip()
    if not text:
        raise ShapeError(f"{where}: an empty byte")
    sign = 1
    if text[0] in "+-":
        sign = -1 if text[0] == "-" else 1
        text = text[1:]
    try:
        value = int(text, 16) if len(text) > 1 and text[0] == "0" else int(text, 10)
    except ValueError:
        raise ShapeError(f"{where}: \"{token.strip()}\" is not a byte") from None
    value *= sign
    if not -128 <= value <= 255:
        raise ShapeError(f"{where}: {value} does not fit a byte")
    return value & 0xFF


def parse(text):
    """The shapes of a source as (number, name, bytes) in the order of the source."""
    shapes = []
    current = None
    for number, raw in enumerate(text.splitlines(), start=1):
        line = raw.split(";", 1)[0].strip()
        if not line:
            continue
        where = f"line {number}"
        if line.startswith("*"):
            if current and len(current[3]) != current[2]:
                raise ShapeError(f"shape {current[0]} has {len(current[3])} bytes, "
                                 f"its header says {current[2]}")
            parts = line[1:].split(",", 2)
            if len(parts) != 3:
                raise ShapeError(f"{where}: the header needs a number, a length and a name")
            try:
                shape, length = int(parts[0]), int(parts[1])
            except ValueError:
                raise ShapeError(f"{where}: the number and the length must be decimal") from None
            if not 1 <= shape <= 65535 or not 1 <= length <= 2000:
                raise ShapeError(f"{where}: shape number or length out of range")
            if any(s[0] == shape for s in shapes):
                raise ShapeError(f"{where}: shape {shape} is defined twice")
            current = [shape, parts[2].strip(), length, bytearray()]
            shapes.append(current)
            continue
        if current is None:
            raise ShapeError(f"{where}: bytes before the first shape header")
        for token in line.split(","):
            if token.strip():
                current[3].append(parse_byte(token, where))
    if current and len(current[3]) != current[2]:
        raise ShapeError(f"shape {current[0]} has {len(current[3])} bytes, "
                         f"its header says {current[2]}")
    for shape, name, _, data in shapes:
        if not data or data[-1] != 0:
            raise ShapeError(f"shape {shape} ({name}) does not end with 0")
    if not shapes:
        raise ShapeError("the source defines no shape")
    return [(s, n, bytes(d)) for s, n, _, d in shapes]


def compile_shapes(shapes):
    numbers = [s for s, _, _ in shapes]
    out = bytearray(SIGNATURE)
    out += struct.pack("<HHH", min(numbers), max(numbers), len(shapes))
    bodies = [name.encode("cp1250") + b"\0" + data for _, name, data in shapes]
    for (shape, _, _), body in zip(shapes, bodies):
        out += struct.pack("<HH", shape, len(body))
    for body in bodies:
        out += body
    return bytes(out)


def main(argv):
    if len(argv) != 3:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    try:
        with open(argv[1], encoding="cp1250") as f:
            shapes = parse(f.read())
    except (OSError, ShapeError) as e:
        print(f"{argv[1]}: {e}", file=sys.stderr)
        return 1
    with open(argv[2], "wb") as f:
        f.write(compile_shapes(shapes))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
