#!/usr/bin/env python3
"""Writes the widgets' button pictures as 24-bit .bmp files into src/widgets/res/.

Each picture is drawn as rows of characters; the palette maps characters to colours.
The bottom-left pixel of every picture is its transparent colour (the button painter keys
it out), so every picture keeps that corner in the background colour ".". The buttons'
pictures are also written at 1.5 and 2 times their size (NAME_150.bmp, NAME_200.bmp) for
denser screens.
Run from anywhere: python3 tools/make_bitmaps.py
"""
import os

from glyph_art import SIZES, scaled, side_by_side, write_bmp

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


def mirror(rows):
    return [r[::-1] for r in rows]


def write_picture(name, *images):
    """Writes NAME.bmp from images side by side, each drawn as rows of palette characters."""
    pixels = side_by_side(*([[PALETTE[ch] for ch in row] for row in image] for image in images))
    write_bmp(os.path.join(OUT, name + ".bmp"), pixels)


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

# The buttons' pictures: the edits' buttons and the calendar's, also at the larger sizes.
BUTTON_PICTURES = {
    "PREV1": [PREV1],
    "PREV2": [PREV2],
    "NEXT1": [mirror(PREV1)],
    "NEXT2": [mirror(PREV2)],
    "DEDITBMP": [CALENDAR, CALENDAR_DISABLED],
    "FEDITBMP": [FEDITBMP],
}
# The folder dialog's list pictures.
LIST_PICTURES = {
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
    for name, images in BUTTON_PICTURES.items():
        for suffix, num, den in SIZES:
            write_picture(name + suffix, *(scaled(image, num, den) for image in images))
    for name, rows in LIST_PICTURES.items():
        write_picture(name, rows)
