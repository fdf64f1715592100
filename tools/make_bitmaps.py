#!/usr/bin/env python3
"""Writes the widgets' button pictures as 24-bit .bmp files into src/widgets/res/.

Each picture is drawn as rows of characters; the palette maps characters to colours.
The bottom-left pixel of every picture is its transparent colour (the button painter keys
it out), so every picture keeps that corner in the background colour ".".
Run from anywhere: python3 tools/make_bitmaps.py
"""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "widgets", "res")

PALETTE = {
    ".": (0x80, 0x80, 0x00),  # transparent (olive)
    "k": (0x00, 0x00, 0x00),  # black
    "w": (0xFF, 0xFF, 0xFF),  # white
    "g": (0x80, 0x80, 0x80),  # grey
    "s": (0xC0, 0xC0, 0xC0),  # silver
    "r": (0xC0, 0x00, 0x00),  # red
    "b": (0x00, 0x00, 0x80),  # navy
    "y": (0xFF, 0xFF, 0x00),  # yellow
}


def write_bmp(name, rows):
    height = len(rows)
    width = len(rows[0])
    assert all(len(r) == width for r in rows), name
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for ch in row:
            r, g, b = PALETTE[ch]
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(os.path.join(OUT, name + ".bmp"), "wb") as f:
        f.write(header + info + pixels)


def mirror(rows):
    return [r[::-1] for r in rows]


def side_by_side(*images):
    return ["".join(parts) for parts in zip(*images)]


# Calendar buttons: one triangle for a month step, two for a year step.
PREV1 = [
    "........",
    ".....k..",
    "....kk..",
    "...kkk..",
    "..kkkk..",
    "...kkk..",
    "....kk..",
    ".....k..",
    "........",
]
PREV2 = [
    "............",
    ".....k....k.",
    "....kk...kk.",
    "...kkk..kkk.",
    "..kkkk.kkkk.",
    "...kkk..kkk.",
    "....kk...kk.",
    ".....k....k.",
    "............",
]

# The date edit's button: a small calendar sheet, normal and disabled, 14 x 12 each.
CALENDAR = [
    "..............",
    ".rrrrrrrrrrrr.",
    ".rrrrrrrrrrrr.",
    ".kwwwwwwwwwwk.",
    ".kwkwkwkwkwwk.",
    ".kwwwwwwwwwwk.",
    ".kwkwkwkwkwwk.",
    ".kwwwwwwwwwwk.",
    ".kwkwkwbbwwwk.",
    ".kwwwwwbbwwwk.",
    ".kkkkkkkkkkkk.",
    "..............",
]
CALENDAR_DISABLED = [
    "..............",
    ".gggggggggggg.",
    ".gggggggggggg.",
    ".gsssssssssswg",
    ".gsgsgsgsgsswg",
    ".gsssssssssswg",
    ".gsgsgsgsgsswg",
    ".gsssssssssswg",
    ".gsgsgsgggsswg",
    ".gssssssggsswg",
    ".ggggggggggggw",
    "..wwwwwwwwwwww",
]

# The folder edit's button: an open folder with an arrow pointing into it, 14 x 12.
FEDITBMP = [
    "..............",
    "........k.....",
    ".kkkk...kk....",
    "kyyyyk..kkk...",
    "kyyyykkkkkkk..",
    "kyyyyyyykkk...",
    "kyyyyyyykk....",
    "kykkkkkkkkkkk.",
    "kykyyyyyyyyyk.",
    "kkyyyyyyyyyk..",
    "kkkkkkkkkkkk..",
    "..............",
]

# The folder dialog's pictures, 16 x 13: folders for the folder list, drives for the drive list.
FOLDER_CLOSED = [
    "................",
    "..kkkk..........",
    ".kyyyyk.........",
    "kyyyyyykkkkkk...",
    "kwwwwwwwwwwwyk..",
    "kwyyyyyyyyyyyk..",
    "kwyyyyyyyyyyyk..",
    "kwyyyyyyyyyyyk..",
    "kwyyyyyyyyyyyk..",
    "kwyyyyyyyyyyyk..",
    "kkkkkkkkkkkkkk..",
    "................",
    "................",
]
FOLDER_OPEN = [
    "................",
    "..kkkk..........",
    ".kyyyyk.........",
    "kyyyyyykkkkkk...",
    "kyyyyyyyyyyyyk..",
    "kyykkkkkkkkkkkkk",
    "kyykwwwwwwwwwwwk",
    "kykwyyyyyyyyyyk.",
    "kykwyyyyyyyyyyk.",
    "kkwyyyyyyyyyyk..",
    "kkkkkkkkkkkkkk..",
    "................",
    "................",
]
FOLDER_CURRENT = [
    "................",
    "..kkkk..........",
    ".kyyyyk.........",
    "kyyyyyykkkkkk...",
    "kyyyyyyyyyyyyk..",
    "kyykkkkkkkkkkkkk",
    "kyykwwwwwwwwwwwk",
    "kykwyyyrryyyyyk.",
    "kykwyyrrrryyyyk.",
    "kkwyyyyrryyyyk..",
    "kkkkkkkkkkkkkk..",
    "................",
    "................",
]
DRIVE_FLOPPY = [
    "................",
    "..kkkkkkkkkkkk..",
    "..kbbsssssssbk..",
    "..kbbsssssssbk..",
    "..kbbsssssssbk..",
    "..kbbbbbbbbbbk..",
    "..kbbbbbbbbbbk..",
    "..kbbwwwwwwbbk..",
    "..kbbwwwkwwbbk..",
    "..kbbwwwkwwbbk..",
    "..kbbwwwwwwbbk..",
    "..kkkkkkkkkkkk..",
    "................",
]
DRIVE_HARD = [
    "................",
    "................",
    "................",
    "................",
    "..kkkkkkkkkkkk..",
    ".kwwwwwwwwwwwwk.",
    ".kssssssssssssk.",
    ".kssssssssrrssk.",
    ".kssssssssssssk.",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
    "................",
]
DRIVE_NETWORK = [
    "................",
    "................",
    "..kkkkkkkkkkkk..",
    ".kwwwwwwwwwwwwk.",
    ".kssssssssssssk.",
    ".kssssssssrrssk.",
    ".kkkkkkkkkkkkkk.",
    ".......kk.......",
    ".......kk.......",
    "kkkkkkkkkkkkkkkk",
    "................",
    "................",
    "................",
]
DRIVE_CD = [
    "................",
    ".....kkkkkk.....",
    "...kksssswwkk...",
    "..ksssssswwwwk..",
    ".ksssssssswwwsk.",
    ".kssssskkssssssk",
    ".ksssskwwksssssk",
    ".kssssskkssssssk",
    ".ksssssssssssk..",
    "..ksssssssssk...",
    "...kkssssskk....",
    ".....kkkkkk.....",
    "................",
]
DRIVE_RAM = [
    "................",
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kgggggggggggk..",
    ".kgbbgbbgbbggk..",
    ".kgbbgbbgbbggk..",
    ".kgggggggggggk..",
    ".kkkkkkkkkkkkk..",
    "..k.k.k.k.k.k...",
    "................",
    "................",
    "................",
]

PICTURES = {
    "PREV1": PREV1,
    "PREV2": PREV2,
    "NEXT1": mirror(PREV1),
    "NEXT2": mirror(PREV2),
    "DEDITBMP": side_by_side(CALENDAR, CALENDAR_DISABLED),
    "FEDITBMP": FEDITBMP,
    "FOLDEROPEN": FOLDER_OPEN,
    "FOLDERCLOSED": FOLDER_CLOSED,
    "FOLDERCURRENT": FOLDER_CURRENT,
    "DRIVEFLOPPY": DRIVE_FLOPPY,
    "DRIVEHARD": DRIVE_HARD,
    "DRIVENETWORK": DRIVE_NETWORK,
    "DRIVECD": DRIVE_CD,
    "DRIVERAM": DRIVE_RAM,
}

if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    for name, rows in PICTURES.items():
        write_bmp(name, rows)
