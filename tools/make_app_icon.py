#!/usr/bin/env python3
"""Draws the program's icon, src/app/res/snimanje.ico: a diskette, the save picture of the dialog's
button, with a green arrow into it, at every size Windows asks for (16, 20, 24, 32, 40, 48 and 256
pixels: the caption and the taskbar at 100 %, 125 % and 150 %, Explorer's lists and its large
view).

Each size is drawn for itself rather than scaled from another, as a small picture enlarged or a
large one reduced would blur: a pixel belongs to the shape in which its centre lies, so every
edge is sharp. The sizes up to 48 are 32-bit bitmaps with an alpha channel, 256 a PNG (as
Windows Vista and later take it); everything outside the diskette is transparent.
Run from anywhere: tools/make_app_icon.py
"""
import os
import struct
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 256)

CLEAR = (0, 0, 0, 0)
EDGE = (0, 0, 64, 255)
BODY = (0, 0, 160, 255)
LABEL = (255, 255, 255, 255)
LINE = (160, 160, 200, 255)
SHUTTER = (192, 192, 192, 255)
ARROW = (0, 150, 0, 255)
ARROW_EDGE = (0, 80, 0, 255)


def draw(n):
    """The icon at n x n pixels: rows of (r, g, b, a), y = 0 at the top."""
    edge = max(1, round(n / 24))

    def inside(x, y, left, top, right, bottom):  # in units of the icon's size
        cx, cy = (x + 0.5) / n, (y + 0.5) / n
        return left <= cx < right and top <= cy < bottom

    img = [[CLEAR] * n for _ in range(n)]
    lo, hi = 0.03, 0.97
    cut = 0.16  # the diskette's cut top-right corner
    for y in range(n):
        for x in range(n):
            cx, cy = (x + 0.5) / n, (y + 0.5) / n
            if not inside(x, y, lo, lo, hi, hi) or (cx - (hi - cut)) > (cy - lo):
                continue
            border = (x < round(lo * n) + edge or y < round(lo * n) + edge or x >= round(hi * n) - edge
                      or y >= round(hi * n) - edge or (cx - (hi - cut)) * n > (cy - lo) * n - 1.5 * edge)
            img[y][x] = EDGE if border else BODY
            if inside(x, y, 0.20, lo + edge / n, 0.76, 0.50):
                img[y][x] = LABEL
            if inside(x, y, 0.28, 0.64, 0.72, hi - edge / n):
                img[y][x] = SHUTTER
            if inside(x, y, 0.54, 0.70, 0.64, 0.90):
                img[y][x] = BODY
    if n >= 32:  # writing lines on the label, where there is room for them
        for top in (0.16, 0.26, 0.36):
            for y in range(n):
                for x in range(n):
                    if inside(x, y, 0.26, top, 0.70, top + max(1, n // 32) / n):
                        img[y][x] = LINE
    # The arrow: a shaft and a head pointing down into the label, outlined where it is big enough.
    for y in range(n):
        for x in range(n):
            cx, cy = (x + 0.5) / n, (y + 0.5) / n
            shaft = 0.40 <= cx < 0.56 and 0.04 <= cy < 0.30
            head = 0.28 <= cy < 0.50 and abs(cx - 0.48) < (0.50 - cy) * 0.9
            if shaft or head:
                img[y][x] = ARROW
    if n >= 24:
        outline = [[False] * n for _ in range(n)]
        for y in range(n):
            for x in range(n):
                if img[y][x] != ARROW:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    px, py = x + dx, y + dy
                    if not (0 <= px < n and 0 <= py < n) or img[py][px] != ARROW:
                        outline[y][x] = True
        for y in range(n):
            for x in range(n):
                if outline[y][x]:
                    img[y][x] = ARROW_EDGE
    return img


def bmp_entry(img):
    """An icon image as Windows keeps it: a BITMAPINFOHEADER of twice the height, the 32-bit
    pixels bottom-up, then the 1-bit mask (set where transparent), rows padded to 4 bytes."""
    n = len(img)
    pixels = bytearray()
    for row in reversed(img):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_row = ((n + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(img):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def png_entry(img):
    n = len(img)
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in img)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def write_ico(path, sizes):
    entries = [(n, png_entry(draw(n)) if n >= 256 else bmp_entry(draw(n))) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for n, data in entries:
        side = 0 if n >= 256 else n  # 0 stands for 256
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in entries)
    with open(path, "wb") as f:
        f.write(out)


def main():
    out = os.path.join(os.path.dirname(__file__), "..", "src", "app", "res")
    os.makedirs(out, exist_ok=True)
    write_ico(os.path.join(out, "snimanje.ico"), SIZES)


if __name__ == "__main__":
    main()
