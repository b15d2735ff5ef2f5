#!/usr/bin/env python3
"""Draws the setup program's pictures: the folder and drive bitmaps of the folder picker,
the wizard's two logos and the application icon.

Run from anywhere; the files are written beside this script. Only the standard library
is used, and the output depends on nothing but this file, so the same script always
gives the same bytes.
"""

import math
import os
import struct
import zlib

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


def bmp_rle8(width, height, palette, pixels):
    """A Windows bitmap file compressed as BI_RLE8: the large pictures, whose long runs of
    one colour shrink to a few bytes, as the program's resources load them."""
    assert len(palette) <= 256
    data = bytearray()
    for row in reversed(pixels):
        x = 0
        while x < width:
            run = 1
            while x + run < width and run < 255 and row[x + run] == row[x]:
                run += 1
            if run >= 3 or width - x < 3:
                data.extend((run, row[x]))
                x += run
                continue
            # A stretch of differing pixels in absolute mode, up to the next run of three.
            end = x
            while end < width and end - x < 255:
                if end + 2 < width and row[end] == row[end + 1] == row[end + 2]:
                    break
                end += 1
            if end - x < 3:
                for i in range(x, end):
                    data.extend((1, row[i]))
            else:
                data.extend((0, end - x))
                data.extend(row[x:end])
                if (end - x) % 2:
                    data.append(0)
            x = end
        data.extend((0, 0))
    data[-2:] = b"\0\1"  # the last end of line becomes the end of the bitmap
    palb = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(palb)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 1, len(data),
                       2835, 2835, len(palette), 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return head + info + palb + bytes(data)


def enlarged(pixels, scale):
    """Pixel art enlarged by scale (1.5 or 2): each new pixel takes the one it covers."""
    h, w = len(pixels), len(pixels[0])
    nh, nw = int(h * scale + 0.5), int(w * scale + 0.5)  # halves up, as the program scales
    return [[pixels[int(y / scale)][int(x / scale)] for x in range(nw)] for y in range(nh)]


# The drawn sizes beside the 96-DPI one, in percent, and their file-name suffixes.
LARGER_SCALES = ((150, 1.5), (200, 2.0))


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
    for name, art, keys in (("ClosedFolder", CLOSED_FOLDER, FOLDER_KEYS),
                            ("OpenFolder", OPEN_FOLDER, FOLDER_KEYS),
                            ("FixedDrive", FIXED_DRIVE, FIXED_KEYS),
                            ("RemovableDrive", REMOVABLE_DRIVE, REMOVABLE_KEYS)):
        pixels = from_art(art, keys)
        write(name + ".bmp", bmp(16, len(pixels), 4, VGA16, pixels))
        for percent, scale in LARGER_SCALES:
            big = enlarged(pixels, scale)
            write("%s_%d.bmp" % (name, percent), bmp(len(big[0]), len(big), 4, VGA16, big))




# --- The logos and the icon --------------------------------------------------------------
# Shapes in the Latvian flag's colours, carmine and white, painted by a small rasteriser
# that samples every pixel on a grid (anti-aliasing) and then maps it to the palette.

CARMINE = (158, 48, 57)
DEEP = (96, 22, 30)  # outlines and shadows on carmine
WHITE_RGB = (255, 255, 255)
INK = (110, 110, 118)  # text lines on the page


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def stroke(points, width):
    """A polyline of round-capped strokes."""
    segs = list(zip(points, points[1:]))
    r = width / 2

    def inside(x, y):
        return any(seg_dist(x, y, a[0], a[1], b[0], b[1]) <= r for a, b in segs)
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            (xi, yi), (xj, yj) = points[i], points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def wavy(x0, x1, y, amp, period, width):
    """A wavy underline, the mark of a misspelt word."""
    pts = []
    steps = int((x1 - x0) * 2) + 2
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i / steps
        pts.append((x, y + amp * math.sin((x - x0) * 2 * math.pi / period)))
    return stroke(pts, width)


def render(width, height, layers, scale=1.0, grid=4, background=None):
    """RGBA rows: layers are (shape, colour) painted in order over the background.

    Shapes are tested at grid x grid points per pixel; coordinates are scaled by scale.
    """
    rows = []
    n = grid * grid
    offs = [(i + 0.5) / grid for i in range(grid)]
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for oy in offs:
                for ox in offs:
                    x, y = (px + ox) / scale, (py + oy) / scale
                    colour = background
                    for shape, c in layers:
                        if shape(x, y):
                            colour = c
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            if acc[3]:
                row.append((acc[0] / acc[3], acc[1] / acc[3], acc[2] / acc[3], acc[3] / n))
            else:
                row.append((0.0, 0.0, 0.0, 0.0))
        rows.append(row)
    return rows


def to_indexes(rows, palette, over=WHITE_RGB):
    """Nearest palette colour per pixel (partly transparent pixels blended over `over`)."""
    out = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            c = mix(over, (r, g, b), a)
            best = min(range(len(palette)),
                       key=lambda i: sum((palette[i][k] - c[k]) ** 2 for k in range(3)))
            line.append(best)
        out.append(line)
    return out


def png(rows):
    """A 32-bit RGBA PNG (no filtering, zlib level 9: the same rows give the same bytes)."""
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for r, g, b, a in row:
            raw.extend((round(r), round(g), round(b), round(a * 255)))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def ico(images):
    """An icon file from (size, image bytes) pairs, in the given order."""
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    dirs, blobs = b"", b""
    for size, data in images:
        dim = 0 if size >= 256 else size
        dirs += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        blobs += data
        offset += len(data)
    return head + dirs + blobs


def flag_tile(s):
    """The emblem in a square of side s: a rounded flag tile with a white check mark."""
    r = s * 0.16
    m = s * 0.04
    tile = rounded_rect(m, m, s - m, s - m, r)
    band_top, band_bottom = s * 0.40, s * 0.60
    band = polygon([(m, band_top), (s - m, band_top), (s - m, band_bottom), (m, band_bottom)])

    def band_in_tile(x, y):
        return tile(x, y) and band(x, y)
    check = [(s * 0.22, s * 0.50), (s * 0.42, s * 0.72), (s * 0.80, s * 0.24)]
    return [
        (tile, CARMINE),
        (band_in_tile, WHITE_RGB),
        (stroke(check, s * 0.22), DEEP),
        (stroke(check, s * 0.13), WHITE_RGB),
    ]


def logo_layers():
    """The tall logo beside the wizard's pages (120 x 260)."""
    w = 120
    layers = [(lambda x, y: True, CARMINE)]
    # The flag's white band, a fifth of the height, across the middle.
    layers.append((lambda x, y: 104 <= y < 156, WHITE_RGB))
    # A capital A with a macron, the long vowel of Latvian writing, above the band.
    shadow = 2.5
    letter = [
        ((35, 90), (60, 28), (85, 90)),
        ((45, 68), (75, 68)),
        ((42, 16), (78, 16)),
    ]
    for pts in letter:
        layers.append((stroke([(x + shadow, y + shadow) for x, y in pts], 11), DEEP))
    for pts in letter:
        layers.append((stroke(list(pts), 11), WHITE_RGB))
    # A carmine check mark on the white band.
    layers.append((stroke([(40, 130), (54, 145), (82, 113)], 10), CARMINE))
    # Below the band, a page of text with one word marked as misspelt.
    page = [(30, 172), (80, 172), (92, 184), (92, 246), (30, 246)]
    layers.append((polygon([(x + 3, y + 3) for x, y in page]), DEEP))
    layers.append((polygon(page), WHITE_RGB))
    layers.append((polygon([(80, 172), (80, 184), (92, 184)]), mix(CARMINE, WHITE_RGB, 0.6)))
    words = [[(38, 72)], [(38, 52), (57, 84)], [(38, 80)], [(38, 84)], [(38, 66)]]
    for i, line in enumerate(words):
        y = 186 + i * 11
        for x0, x1 in line:
            layers.append((stroke([(x0, y), (x1, y)], 3), INK))
    layers.append((wavy(57, 84, 201.5, 1.3, 5, 1.6), CARMINE))
    return w, 260, layers


# The tall logo's 16 colours: white, carmine and the tints between them for smooth edges,
# the deep shadow carmine and its steps, and the greys of the page.
LOGO_PALETTE = [
    WHITE_RGB, CARMINE,
    tuple(round(v) for v in mix(CARMINE, WHITE_RGB, 0.2)),
    tuple(round(v) for v in mix(CARMINE, WHITE_RGB, 0.4)),
    tuple(round(v) for v in mix(CARMINE, WHITE_RGB, 0.6)),
    tuple(round(v) for v in mix(CARMINE, WHITE_RGB, 0.8)),
    DEEP,
    tuple(round(v) for v in mix(DEEP, CARMINE, 0.5)),
    tuple(round(v) for v in mix(DEEP, WHITE_RGB, 0.5)),
    INK,
    tuple(round(v) for v in mix(INK, WHITE_RGB, 0.33)),
    tuple(round(v) for v in mix(INK, WHITE_RGB, 0.66)),
    tuple(round(v) for v in mix(INK, CARMINE, 0.5)),
    (0, 0, 0), (192, 192, 192), (128, 128, 128),
]


def palette_of(rows, size):
    """The distinct colours of an opaque image, most used first, padded with black."""
    counts = {}
    for row in rows:
        for r, g, b, _ in row:
            c = (round(r), round(g), round(b))
            counts[c] = counts.get(c, 0) + 1
    colours = sorted(counts, key=lambda c: (-counts[c], c))[:size]
    return colours + [(0, 0, 0)] * (size - len(colours))


def draw_logos_and_icon():
    w, h, layers = logo_layers()
    write("Logo.bmp", bmp(w, h, 4, LOGO_PALETTE, to_indexes(render(w, h, layers), LOGO_PALETTE)))

    # The small logo sits on the white top band of the wizard.
    small = render(32, 32, flag_tile(32), background=WHITE_RGB)
    pal = palette_of(small, 256)
    write("LogoSmall.bmp", bmp(32, 32, 8, pal, to_indexes(small, pal)))

    # The larger drawn sizes are the program's own resources, run-length compressed.
    for percent, scale in LARGER_SCALES:
        lw, lh = round(w * scale), round(h * scale)
        write("Logo_%d.bmp" % percent,
              bmp_rle8(lw, lh, LOGO_PALETTE,
                       to_indexes(render(lw, lh, layers, scale=scale, grid=3), LOGO_PALETTE)))
        side = round(32 * scale)
        small = render(side, side, flag_tile(side), background=WHITE_RGB, grid=3)
        pal = palette_of(small, 256)
        write("LogoSmall_%d.bmp" % percent, bmp_rle8(side, side, pal, to_indexes(small, pal)))

    # Every size a PNG image, which Windows reads in icons since Vista: a seventh of the
    # bytes of the same pixels as a bitmap with its mask.
    images = []
    for size in (256, 48, 40, 32, 24, 20, 16):
        rows = render(size, size, flag_tile(size), grid=4 if size < 256 else 3)
        images.append((size, png(rows)))
    write("Setup.ico", ico(images))


if __name__ == "__main__":
    draw_small_bitmaps()
    draw_logos_and_icon()
