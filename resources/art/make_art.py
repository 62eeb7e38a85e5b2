#!/usr/bin/env python3
"""Draws the main window's icons and bitmaps and writes them as .ico/.bmp.

Shapes are drawn at 4x size and averaged down, so edges are smooth. Icons
carry an alpha channel; menu bitmaps are composited on the 3D grey
(192,192,192), which the program maps to the system's face colour.
Run it from anywhere: it writes next to itself.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SS = 4  # supersampling factor

# A small palette so the pictures read as one family.
NAVY = (28, 64, 124)
BLUE = (46, 112, 204)
SKY = (120, 180, 240)
WHITE = (255, 255, 255)
PAPER = (250, 250, 246)
LINE = (150, 160, 176)
FOLDER = (240, 190, 60)
FOLDER_DARK = (200, 140, 30)
GREEN = (44, 160, 72)
RED = (210, 48, 48)
ORANGE = (245, 140, 30)
STEEL = (96, 110, 130)
BG3D = (192, 192, 192)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.n = size * SS
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * self.n for _ in range(self.n)]

    def _blend(self, x, y, color, alpha=1.0):
        r, g, b = color
        pr, pg, pb, pa = self.px[y][x]
        a = alpha + pa * (1 - alpha)
        if a <= 0:
            return
        mix = lambda c, p: (c * alpha + p * pa * (1 - alpha)) / a
        self.px[y][x] = (mix(r, pr), mix(g, pg), mix(b, pb), a)

    def fill(self, inside, color, alpha=1.0):
        """Fills every sample whose centre (in 0..size units) is inside."""
        for y in range(self.n):
            fy = (y + 0.5) / SS
            for x in range(self.n):
                if inside((x + 0.5) / SS, fy):
                    self._blend(x, y, color, alpha)

    def rect(self, x0, y0, x1, y1, color, radius=0.0):
        def inside(x, y):
            if not (x0 <= x <= x1 and y0 <= y <= y1):
                return False
            if radius <= 0:
                return True
            cx = min(max(x, x0 + radius), x1 - radius)
            cy = min(max(y, y0 + radius), y1 - radius)
            return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2
        self.fill(inside, color)

    def circle(self, cx, cy, r, color):
        self.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, color)

    def ring(self, cx, cy, r, width, color):
        self.fill(lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= width / 2, color)

    def line(self, x0, y0, x1, y1, width, color):
        def inside(x, y):
            dx, dy = x1 - x0, y1 - y0
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
            return math.hypot(x - (x0 + t * dx), y - (y0 + t * dy)) <= width / 2
        self.fill(inside, color)

    def polygon(self, points, color):
        def inside(x, y):
            hit = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit
        self.fill(inside, color)

    def pixels(self):
        """Averaged down: rows top to bottom of (r, g, b, a) bytes."""
        out = []
        for y in range(self.size):
            row = []
            for x in range(self.size):
                r = g = b = a = 0.0
                for sy in range(SS):
                    for sx in range(SS):
                        pr, pg, pb, pa = self.px[y * SS + sy][x * SS + sx]
                        r += pr * pa
                        g += pg * pa
                        b += pb * pa
                        a += pa
                if a > 0:
                    row.append((round(r / a), round(g / a), round(b / a), round(255 * a / (SS * SS))))
                else:
                    row.append((0, 0, 0, 0))
            out.append(row)
        return out


# ---------------------------------------------------------------- writers

def ico_image(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + xor + mask


# Small-icon and icon sizes from 100 % to 200 % display scale: each scale
# gets an image drawn for it, not a neighbour stretched.
ICON_SIZES = (16, 20, 24, 32, 40, 48)


def write_ico(name, draw, sizes=ICON_SIZES):
    images = []
    for size in sizes:
        canvas = Canvas(size)
        draw(canvas, size / 16.0)
        images.append((size, ico_image(canvas.pixels())))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(data for _, data in images)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(out)


def write_bmp(name, pixels, background=BG3D):
    height = len(pixels)
    width = len(pixels[0])
    stride = (width * 3 + 3) & ~3
    body = b''
    for row in reversed(pixels):
        line = bytearray()
        for (r, g, b, a) in row:
            k = a / 255.0
            mix = [round(c * k + bgc * (1 - k)) for c, bgc in zip((r, g, b), background)]
            # Keep artwork off the exact 3D greys, which the loader remaps.
            if tuple(mix) in ((128, 128, 128), (192, 192, 192), (223, 223, 223)) and a > 0:
                mix[2] += 1
            line += bytes((mix[2], mix[1], mix[0]))
        body += bytes(line) + b'\0' * (stride - width * 3)
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(body), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(header + info + body)


# Menu pictures per display scale: bitmap size and the check-mark area the
# menu draws them in (13 pixels at 100 %, 19 at 150 %, 26 at 200 %).
MENU_SCALES = {100: (16, 13), 150: (24, 19), 200: (32, 26)}


def menu_bitmap(draw, percent=100):
    # Menus draw these in their check-mark area, from the top left: the
    # picture keeps to that corner.
    size, check = MENU_SCALES[percent]
    canvas = Canvas(size)
    draw(canvas, check / 16.0)
    return canvas.pixels()


# ---------------------------------------------------------------- pictures
# Each draws on a 16-unit grid scaled by k.

def page(c, k, x0=3, y0=1, x1=13, y1=15, fold=3.5):
    c.polygon([(x0 * k, y0 * k), ((x1 - fold) * k, y0 * k), (x1 * k, (y0 + fold) * k),
               (x1 * k, y1 * k), (x0 * k, y1 * k)], LINE)
    c.polygon([((x0 + .8) * k, (y0 + .8) * k), ((x1 - fold) * k, (y0 + .8) * k),
               ((x1 - .8) * k, (y0 + fold + .2) * k), ((x1 - .8) * k, (y1 - .8) * k),
               ((x0 + .8) * k, (y1 - .8) * k)], PAPER)
    c.polygon([((x1 - fold) * k, y0 * k), ((x1 - fold) * k, (y0 + fold) * k), (x1 * k, (y0 + fold) * k)], LINE)


def folder(c, k, x0=1, y0=3, x1=15, y1=14):
    c.rect(x0 * k, y0 * k, (x0 + 6) * k, (y0 + 3) * k, FOLDER_DARK, radius=1 * k)
    c.rect(x0 * k, (y0 + 1.5) * k, x1 * k, y1 * k, FOLDER_DARK, radius=1 * k)
    c.rect((x0 + .8) * k, (y0 + 3) * k, (x1 - .8) * k, (y1 - .8) * k, FOLDER, radius=.6 * k)


def plus(c, k, cx, cy, r=3.2, color=GREEN):
    c.circle(cx * k, cy * k, (r + .6) * k, WHITE)
    c.circle(cx * k, cy * k, r * k, color)
    c.rect((cx - r + 1) * k, (cy - .7) * k, (cx + r - 1) * k, (cy + .7) * k, WHITE)
    c.rect((cx - .7) * k, (cy - r + 1) * k, (cx + .7) * k, (cy + r - 1) * k, WHITE)


def question(c, k, cx=8, cy=8, r=7):
    c.circle(cx * k, cy * k, r * k, NAVY)
    c.circle(cx * k, cy * k, (r - 1) * k, BLUE)
    s = r / 7.0
    c.ring(cx * k, (cy - 1.8 * s) * k, 2.4 * s * k, 1.7 * s * k, WHITE)
    # Cut the ring's lower left to make the hook of the question mark.
    c.polygon([((cx - 3.5 * s) * k, (cy - 1.6 * s) * k), (cx * k, (cy - 1.6 * s) * k),
               (cx * k, (cy + 1.2 * s) * k), ((cx - 3.5 * s) * k, (cy + 1.2 * s) * k)], BLUE)
    c.rect((cx - .85 * s) * k, (cy + .2 * s) * k, (cx + .85 * s) * k, (cy + 2 * s) * k, WHITE)
    c.circle(cx * k, (cy + 3.7 * s) * k, 1.0 * s * k, WHITE)


def app_icon(c, k):
    c.rect(.5 * k, .5 * k, 15.5 * k, 15.5 * k, NAVY, radius=3 * k)
    c.rect(1.5 * k, 1.5 * k, 14.5 * k, 14.5 * k, BLUE, radius=2.2 * k)
    c.rect(1.5 * k, 1.5 * k, 14.5 * k, 4 * k, SKY, radius=1.2 * k)
    # The prompt: a chevron and a cursor, the Run dialog's promise.
    c.line(4 * k, 7 * k, 7 * k, 9.5 * k, 1.6 * k, WHITE)
    c.line(7 * k, 9.5 * k, 4 * k, 12 * k, 1.6 * k, WHITE)
    c.rect(8.5 * k, 11.2 * k, 12.5 * k, 12.8 * k, ORANGE)


def tree_group(c, k):
    folder(c, k)


def tree_page(c, k):
    page(c, k)
    for y in (6, 8.5, 11):
        c.rect(5 * k, y * k, 11 * k, (y + 1) * k, SKY)


def tree_page_open(c, k):
    page(c, k)
    for y in (6, 8.5, 11):
        c.rect(5 * k, y * k, 11 * k, (y + 1) * k, BLUE)
    c.polygon([(8 * k, 9 * k), (15 * k, 12 * k), (12 * k, 12.5 * k), (14 * k, 15.5 * k),
               (12.5 * k, 16 * k), (10.8 * k, 13 * k), (8.5 * k, 15 * k)], NAVY)


def mail(c, k):
    c.rect(1 * k, 3.5 * k, 15 * k, 12.5 * k, STEEL, radius=1 * k)
    c.rect(1.8 * k, 4.3 * k, 14.2 * k, 11.7 * k, PAPER, radius=.6 * k)
    c.line(2.2 * k, 4.8 * k, 8 * k, 9 * k, 1.2 * k, STEEL)
    c.line(13.8 * k, 4.8 * k, 8 * k, 9 * k, 1.2 * k, STEEL)


def web(c, k):
    c.circle(8 * k, 8 * k, 7 * k, NAVY)
    c.circle(8 * k, 8 * k, 6.2 * k, SKY)
    c.fill(lambda x, y: abs(((x / k - 8) / 2.6) ** 2 + ((y / k - 8) / 6.2) ** 2 - 1) < .12, NAVY)
    c.rect(1.8 * k, 7.5 * k, 14.2 * k, 8.5 * k, NAVY)
    c.rect(7.5 * k, 1.8 * k, 8.5 * k, 14.2 * k, NAVY)
    c.fill(lambda x, y: abs(math.hypot(x / k - 8, y / k + 6) - 10.5) < .5 and abs(x / k - 8) < 5.6, NAVY)
    c.fill(lambda x, y: abs(math.hypot(x / k - 8, y / k - 22) - 10.5) < .5 and abs(x / k - 8) < 5.6, NAVY)


def help_icon(c, k):
    question(c, k)


def bmp_new_command(c, k):
    page(c, k, 2, 1, 11, 14, 3)
    for y in (5.5, 8):
        c.rect(4 * k, y * k, 9 * k, (y + .9) * k, SKY)
    plus(c, k, 11.5, 11.5)


def bmp_add_folder(c, k):
    folder(c, k, 0.5, 2, 13.5, 12)
    plus(c, k, 11.5, 11.5)


def bmp_delete(c, k):
    c.line(3.5 * k, 3.5 * k, 12.5 * k, 12.5 * k, 3 * k, RED)
    c.line(12.5 * k, 3.5 * k, 3.5 * k, 12.5 * k, 3 * k, RED)


def bmp_configuration(c, k):
    teeth = 8
    def gear(x, y):
        dx, dy = x / k - 8, y / k - 8
        r = math.hypot(dx, dy)
        angle = math.atan2(dy, dx)
        outer = 6.6 if (math.cos(angle * teeth) > 0.2) else 5.0
        return 2.2 < r <= outer
    c.fill(gear, STEEL)
    c.ring(8 * k, 8 * k, 3.6 * k, 1.2 * k, (150, 162, 180))


def bmp_help(c, k):
    question(c, k, 8, 8, 7)


# ---------------------------------------------------------------- banner

FONT = {  # 5x7 capitals and digits
    'V': ['10001', '10001', '10001', '10001', '01010', '01010', '00100'],
    'E': ['11111', '10000', '10000', '11110', '10000', '10000', '11111'],
    'R': ['11110', '10001', '10001', '11110', '10100', '10010', '10001'],
    'B': ['11110', '10001', '10001', '11110', '10001', '10001', '11110'],
    'O': ['01110', '10001', '10001', '10001', '10001', '10001', '01110'],
    'S': ['01111', '10000', '10000', '01110', '00001', '00001', '11110'],
    'A': ['01110', '10001', '10001', '11111', '10001', '10001', '10001'],
    '3': ['11110', '00001', '00001', '01110', '00001', '00001', '11110'],
    '0': ['01110', '10001', '10011', '10101', '11001', '10001', '01110'],
    '.': ['00000', '00000', '00000', '00000', '00000', '01100', '01100'],
    ' ': ['00000'] * 7,
}


def banner(k=1):
    """The About box's banner at display scale k (1, 1.5, 2)."""
    width, height = round(356 * k), round(44 * k)
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            t = x / (width - 1)
            base = [round(a + (b - a) * t) for a, b in zip(NAVY, BLUE)]
            if y >= height - round(3 * k):
                base = list(ORANGE)
            row.append((base[0], base[1], base[2], 255))
        rows.append(row)

    # The program's picture on the left, from the 32-pixel icon.
    icon = Canvas(round(32 * k))
    app_icon(icon, 2.0 * k)
    top, left = round(4 * k), round(8 * k)
    for y, line in enumerate(icon.pixels()):
        for x, (r, g, b, a) in enumerate(line):
            if a:
                t = a / 255.0
                br, bg, bb, _ = rows[y + top][x + left]
                rows[y + top][x + left] = (round(r * t + br * (1 - t)), round(g * t + bg * (1 - t)),
                                           round(b * t + bb * (1 - t)), 255)

    def cover(px0, py0, px1, py1, color):
        """Paints a rectangle given in fractional pixels, edges by coverage."""
        for py in range(max(0, int(py0)), min(height, int(math.ceil(py1)))):
            for px in range(max(0, int(px0)), min(width, int(math.ceil(px1)))):
                c = (min(px + 1, px1) - max(px, px0)) * (min(py + 1, py1) - max(py, py0))
                if c <= 0:
                    continue
                br, bg, bb, _ = rows[py][px]
                rows[py][px] = (round(color[0] * c + br * (1 - c)), round(color[1] * c + bg * (1 - c)),
                                round(color[2] * c + bb * (1 - c)), 255)

    def text(s, x0, y0, scale, color):
        x = x0
        for ch in s:
            for gy, bits in enumerate(FONT[ch]):
                for gx, bit in enumerate(bits):
                    if bit == '1':
                        cover(x + gx * scale, y0 + gy * scale, x + (gx + 1) * scale, y0 + (gy + 1) * scale, color)
            x += 6 * scale
    text('VERBOSA', 52 * k, 9 * k, 3 * k, WHITE)
    text('3.0', (52 + 7 * 18 + 10) * k, 15 * k, 2 * k, SKY)
    return rows


def main():
    write_ico('app.ico', app_icon, ICON_SIZES + (64,))
    write_ico('tree_group.ico', tree_group)
    write_ico('tree_page.ico', tree_page)
    write_ico('tree_page_open.ico', tree_page_open)
    write_ico('mail.ico', mail)
    write_ico('web.ico', web)
    write_ico('help.ico', help_icon)
    menus = {'menu_new_command': bmp_new_command, 'menu_add_folder': bmp_add_folder,
             'menu_delete': bmp_delete, 'menu_configuration': bmp_configuration, 'menu_help': bmp_help}
    for name, draw in menus.items():
        for percent in MENU_SCALES:
            suffix = '' if percent == 100 else '_%d' % percent
            write_bmp(name + suffix + '.bmp', menu_bitmap(draw, percent))
    write_bmp('about_banner.bmp', banner())
    write_bmp('about_banner_150.bmp', banner(1.5))
    write_bmp('about_banner_200.bmp', banner(2))


if __name__ == '__main__':
    main()
