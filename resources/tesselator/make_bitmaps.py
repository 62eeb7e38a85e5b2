#!/usr/bin/env python3
"""Writes the menu pictures of Tesselator.dll: at 100 % display scale 16x16
bitmaps, 4 bits per pixel, with the standard 16-colour palette on a white
ground; at 150 % and 200 % the same pictures drawn as shapes, 24x24 and
32x32, 32 bits per pixel with premultiplied alpha, as menus blend them.

Run it in this folder after changing a picture; the .bmp files are checked in
so that the build needs no Python."""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'art'))
from make_art import Canvas  # noqa: E402 (the program's supersampling canvas)

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
# Picture letters: ground, maroon outline, red fill, dark green.
INK = {'.': 15, 'm': 1, 'R': 9, 'G': 2}

# A red arrow pointing right (every Fast Folder entry).
ENTRY = """
................
................
.......m........
.......mm.......
.......mRm......
.......mRRm.....
.mmmmmmmRRRm....
.mRRRRRRRRRRm...
.mRRRRRRRRRRRm..
.mRRRRRRRRRRm...
.mmmmmmmRRRm....
.......mRRm.....
.......mRm......
.......mm.......
.......m........
................
"""

# A dark-green double chevron pointing right (the submenu entry).
SUBMENU = """
................
................
................
...GG....GG.....
...GGG...GGG....
....GGG...GGG...
.....GGG...GGG..
......GGG...GGG.
......GGG...GGG.
.....GGG...GGG..
....GGG...GGG...
...GGG...GGG....
...GG....GG.....
................
................
................
"""

# A dark-green double right-pointing triangle (the third of the set).
DOUBLE_TRIANGLE = """
................
................
................
...G.....G......
...GG....GG.....
...GGG...GGG....
...GGGG..GGGG...
...GGGGG.GGGGG..
...GGGGG.GGGGG..
...GGGG..GGGG...
...GGG...GGG....
...GG....GG.....
...G.....G......
................
................
................
"""


def write_bitmap(path, picture):
    rows = [row for row in picture.strip('\n').split('\n')]
    assert len(rows) == 16 and all(len(row) == 16 for row in rows), path
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        for left, right in zip(row[0::2], row[1::2]):
            pixels.append(INK[left] << 4 | INK[right])
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, 16, 16, 1, 4, 0, len(pixels), 2835, 2835, 16, 0)
    with open(path, 'wb') as out:
        out.write(header + info + palette + pixels)


def write_alpha_bitmap(path, pixels):
    size = len(pixels)
    body = b''
    for row in reversed(pixels):  # bottom-up
        for r, g, b, a in row:
            body += bytes((round(b * a / 255), round(g * a / 255), round(r * a / 255), a))
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(body), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, size, size, 1, 32, 0, len(body), 2835, 2835, 0, 0)
    with open(path, 'wb') as out:
        out.write(header + info + body)


MAROON, RED, DARK_GREEN = (0x80, 0, 0), (0xFF, 0, 0), (0, 0x80, 0)


def draw_entry(c, k):
    """The red arrow, outlined in maroon, on the 16-unit grid of ENTRY."""
    c.polygon([(p[0] * k, p[1] * k) for p in
               [(1, 6), (7.5, 6), (7.5, 2), (14.2, 8.5), (7.5, 15), (7.5, 11), (1, 11)]], MAROON)
    c.polygon([(p[0] * k, p[1] * k) for p in
               [(2, 7), (8.5, 7), (8.5, 4.4), (12.8, 8.5), (8.5, 12.6), (8.5, 10), (2, 10)]], RED)


def draw_submenu(c, k):
    """The dark-green double chevron of SUBMENU."""
    for dx in (0, 6):
        c.line((3.6 + dx) * k, 3.8 * k, (7.6 + dx) * k, 8.5 * k, 2.2 * k, DARK_GREEN)
        c.line((7.6 + dx) * k, 8.5 * k, (3.6 + dx) * k, 13.2 * k, 2.2 * k, DARK_GREEN)


def scaled(draw, size):
    canvas = Canvas(size)
    draw(canvas, size / 16.0)
    return canvas.pixels()


write_bitmap('entry.bmp', ENTRY)
write_bitmap('submenu.bmp', SUBMENU)
write_bitmap('double_triangle.bmp', DOUBLE_TRIANGLE)
for percent, size in ((150, 24), (200, 32)):
    write_alpha_bitmap('entry_%d.bmp' % percent, scaled(draw_entry, size))
    write_alpha_bitmap('submenu_%d.bmp' % percent, scaled(draw_submenu, size))
