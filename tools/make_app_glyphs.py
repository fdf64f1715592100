#!/usr/bin/env python3
"""Draws the two button glyphs of the backup dialog as 24-bit BMP files.

Each file holds two images side by side: the normal one and the disabled (grey) one. The
bottom-left pixel is the transparent colour (magenta), as the buttons expect.
Run from the repository root: tools/make_app_glyphs.py  (writes src/app/res/*.bmp)
"""
import os
import struct

MAGENTA = (255, 0, 255)


def write_bmp(path, width, height, pixels):
    """pixels[y][x] = (r, g, b), y = 0 at the top."""
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixels[y][x]
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def grey(c):
    if c == MAGENTA:
        return c
    v = (c[0] * 30 + c[1] * 59 + c[2] * 11) // 100
    v = 128 + v // 2
    return (v, v, v)


def side_by_side(image):
    h, w = len(image), len(image[0])
    return [[image[y][x] for x in range(w)] + [grey(image[y][x]) for x in range(w)] for y in range(h)]


def floppy(size=16):
    """A diskette: the save picture."""
    img = [[MAGENTA] * size for _ in range(size)]
    body, label, shutter, edge = (0, 0, 160), (255, 255, 255), (192, 192, 192), (0, 0, 64)
    for y in range(1, size - 1):
        for x in range(1, size - 1):
            img[y][x] = body
    for y in range(1, size - 1):
        img[y][1] = img[y][size - 2] = edge
    for x in range(1, size - 1):
        img[1][x] = img[size - 2][x] = edge
    for y in range(2, 8):
        for x in range(4, size - 4):
            img[y][x] = label
    for y in range(10, size - 2):
        for x in range(5, size - 5):
            img[y][x] = shutter
    for y in range(11, size - 3):
        img[y][size - 7] = body
    return img


def cross(size=18):
    """A red cross: the cancel picture."""
    img = [[MAGENTA] * size for _ in range(size)]
    red, dark = (220, 0, 0), (128, 0, 0)
    for i in range(3, size - 3):
        for d in (-1, 0, 1):
            for (x, y) in ((i + d, i), (size - 1 - i + d, i)):
                if 0 <= x < size:
                    img[y][x] = red if d == 0 else dark
    return img


def main():
    out = os.path.join(os.path.dirname(__file__), "..", "src", "app", "res")
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, "SNIMIGLYPH.bmp"), 32, 16, side_by_side(floppy()))
    write_bmp(os.path.join(out, "ODUSTANIGLYPH.bmp"), 36, 18, side_by_side(cross()))


if __name__ == "__main__":
    main()
