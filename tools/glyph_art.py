"""What the glyph scripts share: writing a picture as a 24-bit BMP file, and drawing it at the
larger sizes that the toolkit picks on denser screens (NAME_150 and NAME_200: 1.5 and 2 times
the 96-dpi size of NAME).

A picture is a list of rows of pixels, y = 0 at the top. Enlarging gives every pixel of the
original a block of whole pixels: at twice the size two by two, at 1.5 times two or one in
each direction, chosen symmetrically about the middle so that a symmetric glyph stays
symmetric. No colours are blended, so the glyph stays sharp and its transparent colour stays
exact.
"""
import struct

# Suffix of the resource name, and the size as a fraction of the 96-dpi size.
SIZES = (("", 1, 1), ("_150", 3, 2), ("_200", 2, 1))


def write_bmp(path, pixels):
    """pixels[y][x] = (r, g, b)."""
    height, width = len(pixels), len(pixels[0])
    assert all(len(row) == width for row in pixels), path
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (row_size - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def _edges(n, num, den):
    """Where each of n pixels starts at num/den times the size, and where the last one ends."""
    def rounded(i):  # i * num / den, halves rounded up
        return (2 * i * num + den) // (2 * den)
    total = rounded(n)
    return [rounded(i) if 2 * i <= n else total - rounded(n - i) for i in range(n + 1)]


def scaled(picture, num, den):
    """The picture at num/den times its size."""
    xs = _edges(len(picture[0]), num, den)
    ys = _edges(len(picture), num, den)
    out = []
    for y, row in enumerate(picture):
        line = [p for x, p in enumerate(row) for _ in range(xs[x + 1] - xs[x])]
        out += [list(line) for _ in range(ys[y + 1] - ys[y])]
    return out


def side_by_side(*pictures):
    """Images of one glyph in a row (normal, disabled, ...), as the buttons take them."""
    return [[p for part in rows for p in part] for rows in zip(*pictures)]
