#!/usr/bin/env python3
"""Draws the two icons of kelmora.dll and writes them as .ico files.

140 (item.ico): a sheet of paper with a folded corner, shown for a selection.
142 (tidalon.ico): a blue tile with three white wave lines, shown in the About box.

Each icon holds 16x16 and 32x32 images, 32 bits per pixel with an alpha channel.
Run from the repository root:  python3 scripts/make_icons.py
"""
import math
import os
import struct

OUT_DIR = os.path.join(os.path.dirname(__file__), "..", "ctxmenu", "res", "icons")


def blend(dst, src):
    """Source-over of two (r, g, b, a) colours, components 0..255."""
    sa = src[3] / 255.0
    da = dst[3] / 255.0
    oa = sa + da * (1 - sa)
    if oa == 0:
        return (0, 0, 0, 0)
    out = [int(round((src[i] * sa + dst[i] * da * (1 - sa)) / oa)) for i in range(3)]
    return (out[0], out[1], out[2], int(round(oa * 255)))


def coverage(size, inside, samples=4):
    """Per-pixel coverage (0..1) of the shape `inside(x, y)` in unit coordinates."""
    grid = []
    for py in range(size):
        row = []
        for px in range(size):
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    hits += 1 if inside(x, y) else 0
            row.append(hits / (samples * samples))
        grid.append(row)
    return grid


def paint(pixels, size, inside, colour):
    cov = coverage(size, inside)
    for y in range(size):
        for x in range(size):
            if cov[y][x] > 0:
                c = (colour[0], colour[1], colour[2], int(colour[3] * cov[y][x]))
                pixels[y][x] = blend(pixels[y][x], c)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def wave(y_mid, amplitude, thickness, x0=0.2, x1=0.8):
    def inside(x, y):
        if x < x0 or x > x1:
            return False
        t = (x - x0) / (x1 - x0)
        centre = y_mid + amplitude * math.sin(t * 2 * math.pi)
        return abs(y - centre) <= thickness / 2
    return inside


def tidalon_icon(size):
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]
    paint(pixels, size, rounded_rect(0.04, 0.04, 0.96, 0.96, 0.18), (24, 92, 168, 255))
    paint(pixels, size, rounded_rect(0.08, 0.08, 0.92, 0.5, 0.14), (255, 255, 255, 40))
    thickness = 0.09 if size >= 32 else 0.12
    for y_mid in (0.32, 0.52, 0.72):
        paint(pixels, size, wave(y_mid, 0.06, thickness), (255, 255, 255, 255))
    return pixels


def item_icon(size):
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]
    fold = 0.25

    def sheet(x, y):
        if x < 0.18 or x > 0.82 or y < 0.06 or y > 0.94:
            return False
        return not (x > 0.82 - fold and y < 0.06 + fold and (x - (0.82 - fold)) > (y - 0.06))

    def inner(x, y):
        if x < 0.22 or x > 0.78 or y < 0.10 or y > 0.90:
            return False
        return not (x > 0.78 - fold and y < 0.10 + fold and (x - (0.78 - fold)) > (y - 0.10) - 0.02)

    def corner(x, y):
        return 0.82 - fold <= x <= 0.82 and 0.06 <= y <= 0.06 + fold and (x - (0.82 - fold)) <= (y - 0.06)

    paint(pixels, size, sheet, (60, 60, 60, 255))
    paint(pixels, size, inner, (250, 250, 250, 255))
    paint(pixels, size, corner, (190, 200, 215, 255))
    for row in (0.45, 0.58, 0.71):
        paint(pixels, size, rounded_rect(0.3, row - 0.025, 0.7, row + 0.025, 0.02), (24, 92, 168, 255))
    return pixels


def dib(pixels):
    """BITMAPINFOHEADER, bottom-up BGRA rows, then the 1-bit AND mask."""
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_row)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def write_ico(path, images):
    entries = b""
    data = b""
    offset = 6 + 16 * len(images)
    for pixels in images:
        size = len(pixels)
        blob = dib(pixels)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + entries + data)


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    write_ico(os.path.join(OUT_DIR, "item.ico"), [item_icon(32), item_icon(16)])
    write_ico(os.path.join(OUT_DIR, "tidalon.ico"), [tidalon_icon(32), tidalon_icon(16)])


if __name__ == "__main__":
    main()
