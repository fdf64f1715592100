#!/usr/bin/env python3
"""Draws the two button glyphs of the backup dialog as 24-bit BMP files.

Each file holds two images side by side: the normal one and the disabled (grey) one. The
bottom-left pixel is the transparent colour (magenta), as the buttons expect. Each glyph is
also written at 1.5 and 2 times its size (NAME_150.bmp, NAME_200.bmp) for denser screens.
Run from anywhere: tools/make_app_glyphs.py  (writes src/app/res/*.bmp)
"""
import os

from glyph_art import SIZES, scaled, side_by_side, write_bmp

MAGENTA = (255, 0, 255)


def grey(c):
    if c == MAGENTA:
        return c
    v = (c[0] * 30 + c[1] * 59 + c[2] * 11) // 100
    v = 128 + v // 2
    return (v, v, v)


def normal_and_disabled(image):
    return side_by_side(image, [[grey(c) for c in row] for row in image])


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
    for name, image in (("SNIMIGLYPH", floppy()), ("ODUSTANIGLYPH", cross())):
        for suffix, num, den in SIZES:
            write_bmp(os.path.join(out, name + suffix + ".bmp"), normal_and_disabled(scaled(image, num, den)))


if __name__ == "__main__":
    main()
