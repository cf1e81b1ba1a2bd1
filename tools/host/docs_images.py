#!/usr/bin/env python3
"""Copies the tour's screenshots that the user guide shows into the guide's image folder.

    docs_images.py <screenshot folder> <guide folder>

Every "images/<name>.png" that a Markdown page of the guide folder names is taken from
the screenshot folder of the demo tour (scripts/demo.sh writes it), written again with
real compression (an indexed image when it holds 256 colours or fewer, which
screenshots of dialogs nearly always do), and put into <guide folder>/images/. Images
there that no page names are removed, and a picture a page names that the tour did not
take is an error: the guide and the tour cannot drift apart. The pixels are kept
exactly; only the encoding changes. Nothing but the standard library is needed.
"""
import glob
import os
import re
import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def read_png(path):
    """The width, height and RGB rows of an 8-bit RGB PNG (as the tour writes them)."""
    data = open(path, "rb").read()
    if not data.startswith(SIGNATURE):
        raise ValueError(path + ": not a PNG file")
    at, idat, header = 8, [], None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != 2 or interlace != 0:
        raise ValueError(path + ": not an 8-bit RGB image without interlace")
    raw = zlib.decompress(b"".join(idat))
    stride = width * 3
    rows, previous = [], bytearray(stride)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        rows.append(unfilter(line[0], bytearray(line[1:]), previous))
        previous = rows[-1]
    return width, height, rows


def unfilter(kind, line, previous):
    if kind == 0:
        return line
    for i in range(len(line)):
        left = line[i - 3] if i >= 3 else 0
        up = previous[i]
        corner = previous[i - 3] if i >= 3 else 0
        if kind == 1:
            line[i] = (line[i] + left) & 0xFF
        elif kind == 2:
            line[i] = (line[i] + up) & 0xFF
        elif kind == 3:
            line[i] = (line[i] + (left + up) // 2) & 0xFF
        else:
            p = left + up - corner
            pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
            line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 0xFF
    return line


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def encode_png(width, height, rows):
    """The smallest of the simple encodings: indexed with the fewest bits that hold the
    colours, or RGB with each row's filter chosen by the usual sum-of-magnitudes rule."""
    colours = {}
    for row in rows:
        for i in range(0, len(row), 3):
            colours.setdefault(bytes(row[i:i + 3]), len(colours))
            if len(colours) > 256:
                break
        if len(colours) > 256:
            break
    if len(colours) <= 256:
        palette = sorted(colours)
        index = {c: n for n, c in enumerate(palette)}
        bits = 1 if len(palette) <= 2 else 2 if len(palette) <= 4 else 4 if len(palette) <= 16 else 8
        per_byte = 8 // bits
        raw = bytearray()
        for row in rows:
            values = [index[bytes(row[i:i + 3])] for i in range(0, len(row), 3)]
            raw.append(0)
            for start in range(0, len(values), per_byte):
                byte = 0
                group = values[start:start + per_byte]
                for v in group:
                    byte = (byte << bits) | v
                byte <<= bits * (per_byte - len(group))
                raw.append(byte)
        header = struct.pack(">IIBBBBB", width, height, bits, 3, 0, 0, 0)
        return SIGNATURE + chunk(b"IHDR", header) + chunk(b"PLTE", b"".join(palette)) + \
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    raw = bytearray()
    previous = bytes(len(rows[0]))
    for row in rows:
        row = bytes(row)
        candidates = [
            (0, row),
            (1, bytes((row[i] - (row[i - 3] if i >= 3 else 0)) & 0xFF for i in range(len(row)))),
            (2, bytes((row[i] - previous[i]) & 0xFF for i in range(len(row)))),
        ]
        kind, best = min(candidates, key=lambda c: sum(b if b < 128 else 256 - b for b in c[1]))
        raw.append(kind)
        raw += best
        previous = row
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return SIGNATURE + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    shots, guide = sys.argv[1], sys.argv[2]
    named = set()
    for page in sorted(glob.glob(os.path.join(guide, "*.md"))):
        named.update(re.findall(r"images/([A-Za-z0-9_.-]+\.png)", open(page, encoding="utf-8").read()))
    missing = sorted(n for n in named if not os.path.isfile(os.path.join(shots, n)))
    if missing:
        sys.exit("docs: the guide shows pictures the tour did not take: " + ", ".join(missing))
    images = os.path.join(guide, "images")
    os.makedirs(images, exist_ok=True)
    for old in glob.glob(os.path.join(images, "*.png")):
        if os.path.basename(old) not in named:
            os.remove(old)
            print("docs: removed " + old)
    total = 0
    for name in sorted(named):
        png = encode_png(*read_png(os.path.join(shots, name)))
        target = os.path.join(images, name)
        if not os.path.isfile(target) or open(target, "rb").read() != png:
            with open(target, "wb") as out:
                out.write(png)
        total += len(png)
    print("docs: %d pictures in %s, %d bytes (%.0f KiB) together" % (len(named), images, total, total / 1024))


if __name__ == "__main__":
    main()
