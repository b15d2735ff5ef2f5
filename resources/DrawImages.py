#!/usr/bin/env python3
"""Draws the setup program's pictures: the folder and drive bitmaps of the folder picker.

Run from anywhere; the files are written beside this script. Only the standard library
is used, and the output depends on nothing but this file, so the same script always
gives the same bytes.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The 16 standard Windows colours, in their usual palette order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)


def bmp(width, height, bits, palette, pixels):
    """A Windows bitmap file (BITMAPINFOHEADER, uncompressed, 4 or 8 bits per pixel).

    pixels: rows top to bottom, each a list of palette indexes.
    """
    assert bits in (4, 8) and len(palette) == 1 << bits
    assert len(pixels) == height and all(len(r) == width for r in pixels)
    stride = (width * bits + 31) // 32 * 4
    data = bytearray()
    for row in reversed(pixels):  # bottom-up, as a positive height says
        line = bytearray()
        if bits == 8:
            line.extend(row)
        else:
            for x in range(0, width, 2):
                hi = row[x]
                lo = row[x + 1] if x + 1 < width else 0
                line.append(hi << 4 | lo)
        line.extend(b"\0" * (stride - len(line)))
        data.extend(line)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(pal)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data),
                       2835, 2835, len(palette), 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + pal + bytes(data)


def from_art(art, keys):
    """Palette indexes from rows of characters, one character per pixel."""
    return [[keys[c] for c in row] for row in art]


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# --- The folder picker's small bitmaps ------------------------------------------------
# Each one's bottom-left pixel is its transparent colour, so that corner stays background.

FOLDER_KEYS = {".": OLIVE, "#": BLACK, "y": YELLOW, "d": GRAY, "w": WHITE, "s": SILVER}

CLOSED_FOLDER = [
    "................",
    "................",
    "................",
    "..#####.........",
    ".#wwwww#........",
    "#wyyyyyy#######.",
    "#wwwwwwwwwwwww#d",
    "#wyyyyyyyyyyyy#d",
    "#wyyyyyyyyyyyy#d",
    "#wyyyyyyyyyyyy#d",
    "#wyyyyyyyyyyyy#d",
    "#wyyyyyyyyyyyy#d",
    "#syyyyyyyyyyyy#d",
    "###############d",
    ".dddddddddddddd.",
    "................",
]

OPEN_FOLDER = [
    "................",
    "................",
    "................",
    "..#####.........",
    ".#wwwww#........",
    "#wssssss#######.",
    "#wsssssssssss#..",
    "#ws############d",
    "#w#wwwwwwwwwww#d",
    "#s#yyyyyyyyyyy#d",
    "##wyyyyyyyyyy#d.",
    "##yyyyyyyyyyy#d.",
    "#wyyyyyyyyyy#d..",
    "#############d..",
    ".ddddddddddddd..",
    "................",
]

# A hard disk seen from the front and above: light top, silver front, a green lamp.
FIXED_DRIVE = [
    "bbbbbbbbbbbbbbbb",
    "bbb###########bb",
    "bb#wwwwwwwwww##b",
    "b#wwwwwwwwww#s#b",
    "b############s#b",
    "b#ssssssssss#s#b",
    "b#ssssssssgs#s#b",
    "b#ssssssssss##bb",
    "b############bbb",
    "bbbbbbbbbbbbbbbb",
    "bbbbbbbbbbbbbbbb",
]
FIXED_KEYS = {"b": BLUE, "#": BLACK, "w": WHITE, "s": SILVER, "g": LIME}

# A memory stick: navy body with a light edge, silver plug with its two contacts.
# White is this bitmap's transparent colour, so nothing inside it is white.
REMOVABLE_DRIVE = [
    "wwwwwwwwwwwwwwww",
    "w#########wwwwww",
    "#aaaaaaaaa######",
    "#annnnnnnn#ssss#",
    "#annnnnnnn#sdsd#",
    "#annnnnnnn#ssss#",
    "#nnnnnnnnn######",
    "w#########wwwwww",
    "wdddddddddwwwwww",
    "wwwwwwwwwwwwwwww",
]
REMOVABLE_KEYS = {"w": WHITE, "#": BLACK, "a": AQUA, "n": NAVY, "s": SILVER, "d": GRAY}


def draw_small_bitmaps():
    write("ClosedFolder.bmp", bmp(16, 16, 4, VGA16, from_art(CLOSED_FOLDER, FOLDER_KEYS)))
    write("OpenFolder.bmp", bmp(16, 16, 4, VGA16, from_art(OPEN_FOLDER, FOLDER_KEYS)))
    write("FixedDrive.bmp", bmp(16, 11, 4, VGA16, from_art(FIXED_DRIVE, FIXED_KEYS)))
    write("RemovableDrive.bmp",
          bmp(16, 10, 4, VGA16, from_art(REMOVABLE_DRIVE, REMOVABLE_KEYS)))


if __name__ == "__main__":
    draw_small_bitmaps()
