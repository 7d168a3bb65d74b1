#!/usr/bin/env python3
"""Draws every bitmap of zvaaSUI.dll and writes it as a BMP file beside this script.

    python3 make_bitmaps.py [output-dir]
    python3 make_bitmaps.py --check     exit status 1 when a committed file differs from the drawing

The pictures are plain pixel drawings made from a few primitives (rectangles, lines, polygons,
tiny pixel glyphs), so that changing a picture means changing a few numbers below. The files
are committed; run the script again after changing it and commit its output too (a test checks
that the committed files equal what the script makes).

Sizes and colour depths are fixed by the resources' users:
  ink-level gauges 119-147   25 x 63, 256 colours, pure green (0x00FF00) where the button shows through
  header printer 151         59 x 59, 24-bit, on white
  alignment illustration 155 223 x 115, 256 colours, on pure green
  alignment examples         106 and 112: 64 x 28; 108 to 111: 63 x 27; 16 colours
Only the Python standard library is used.
"""

import os
import struct
import sys

KEY = (0, 255, 0)  # the transparent colour of the keyed pictures
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


class Canvas:
    def __init__(self, width, height, ground):
        self.w, self.h = width, height
        self.px = [[ground] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = colour

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with corners (x0, y0) and (x1, y1), both included."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.hline(x0, x1, y0, colour)
        self.hline(x0, x1, y1, colour)
        self.vline(x0, y0, y1, colour)
        self.vline(x1, y0, y1, colour)

    def hline(self, x0, x1, y, colour):
        for x in range(min(x0, x1), max(x0, x1) + 1):
            self.set(x, y, colour)

    def vline(self, x, y0, y1, colour):
        for y in range(min(y0, y1), max(y0, y1) + 1):
            self.set(x, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def polygon(self, points, colour):
        """Fills a polygon by scan lines through pixel centres."""
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            cy = y + 0.5
            xs = []
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay <= cy < by) or (by <= cy < ay):
                    xs.append(ax + (cy - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(int(round(a)), int(round(b))):
                    self.set(x, y, colour)

    def glyph(self, x, y, rows, colour):
        """Draws a pixel glyph given as strings, '#' for a set pixel."""
        for dy, row in enumerate(rows):
            for dx, c in enumerate(row):
                if c == '#':
                    self.set(x + dx, y + dy, colour)

    def copy(self):
        c = Canvas(self.w, self.h, BLACK)
        c.px = [row[:] for row in self.px]
        return c


def shade(colour, factor):
    """Darker (factor < 1) or lighter (factor > 1, towards white) version of a colour."""
    if factor <= 1:
        return tuple(int(c * factor) for c in colour)
    t = factor - 1
    return tuple(int(c + (255 - c) * t) for c in colour)


# ---------------------------------------------------------------------------------------------
# BMP writing

VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def bmp_bytes(canvas, bits):
    w, h = canvas.w, canvas.h
    if bits == 24:
        palette = []
    elif bits == 4:
        palette = list(VGA16)
    else:
        palette = []
        for row in canvas.px:
            for c in row:
                if c not in palette:
                    palette.append(c)
        if len(palette) > 256:
            raise ValueError('more than 256 colours')
        palette += [BLACK] * (256 - len(palette))
    index = {c: i for i, c in reversed(list(enumerate(palette)))}
    stride = ((w * bits + 31) // 32) * 4
    rows = []
    for y in range(h - 1, -1, -1):  # bottom-up
        row = canvas.px[y]
        if bits == 24:
            data = b''.join(struct.pack('BBB', c[2], c[1], c[0]) for c in row)
        elif bits == 8:
            data = bytes(index[c] for c in row)
        else:
            nibbles = [index[c] for c in row]
            if len(nibbles) % 2:
                nibbles.append(0)
            data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))
        rows.append(data + b'\0' * (stride - len(data)))
    pixels = b''.join(rows)
    pal = b''.join(struct.pack('BBBB', c[2], c[1], c[0], 0) for c in palette)
    offset = 14 + 40 + len(pal)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    return header + info + pal + pixels


# ---------------------------------------------------------------------------------------------
# Ink-level gauges (25 x 63). The gauge is an ink tank seen from the front: a dark casing with a
# window that shows the ink; the column at the right and the corners are key green.

GAUGE_W, GAUGE_H = 25, 63
CASE = (72, 76, 84)
CASE_LIGHT = (128, 134, 146)
CASE_DARK = (40, 42, 48)
WINDOW = (236, 240, 244)
WINDOW_SHADE = (206, 212, 220)
TICK = (150, 156, 166)
TRIANGLE = (255, 204, 0)

# The window's inner area, where the ink rises.
WIN_X0, WIN_X1 = 4, 16
WIN_Y0, WIN_Y1 = 8, 57

BLACK_INK = [(28, 28, 32)]
COLOUR_INK = [(0, 174, 239), (236, 0, 140), (255, 230, 0)]
PHOTO_INK = [(70, 70, 78), (128, 214, 240), (242, 140, 200)]


def gauge_base(pale=False):
    c = Canvas(GAUGE_W, GAUGE_H, KEY)
    case = shade(CASE, 2.0 - 0.35) if pale else CASE
    light = shade(CASE_LIGHT, 1.5) if pale else CASE_LIGHT
    dark = shade(CASE_DARK, 1.6) if pale else CASE_DARK
    # Cap with the outlet on top.
    c.rect(7, 1, 13, 3, dark)
    c.rect(8, 1, 12, 2, light)
    # Casing with cut corners.
    c.rect(1, 4, 19, 61, case)
    for x, y in ((1, 4), (19, 4), (1, 61), (19, 61)):
        c.set(x, y, KEY)
    c.vline(2, 5, 60, light)            # lit left edge
    c.vline(19, 5, 60, dark)            # shaded right edge
    c.hline(2, 18, 61, dark)
    # Window frame and glass.
    c.frame(WIN_X0 - 1, WIN_Y0 - 1, WIN_X1 + 1, WIN_Y1 + 1, dark)
    glass = shade(WINDOW, 1.0) if not pale else (246, 247, 249)
    c.rect(WIN_X0, WIN_Y0, WIN_X1, WIN_Y1, glass)
    c.vline(WIN_X1, WIN_Y0, WIN_Y1, WINDOW_SHADE if not pale else (232, 234, 238))
    # Scale marks on the casing's right side: quarter steps.
    for i in range(5):
        y = WIN_Y1 - round(i * (WIN_Y1 - WIN_Y0) / 4)
        c.hline(WIN_X1 + 2, WIN_X1 + 2 if i % 2 else WIN_X1 + 2, y, TICK)
    return c


def fill_ink(c, fraction, inks):
    """Ink rising from the bottom of the window to `fraction` of its height."""
    height = WIN_Y1 - WIN_Y0 + 1
    top = WIN_Y1 + 1 - max(1, round(height * fraction))
    width = WIN_X1 - WIN_X0 + 1
    bands = len(inks)
    for i, ink in enumerate(inks):
        x0 = WIN_X0 + (width * i) // bands
        x1 = WIN_X0 + (width * (i + 1)) // bands - 1
        c.rect(x0, top, x1, WIN_Y1, ink)
        c.vline(x0, top, WIN_Y1, shade(ink, 1.35))      # light on each band's left edge
        c.hline(x0, x1, top, shade(ink, 1.5))           # meniscus
        c.vline(x1, top, WIN_Y1, shade(ink, 0.8))


def warning_triangle(c):
    # A yellow warning triangle with a black border and an exclamation mark, in the window's upper
    # part, built row by row around the window's middle column so that it stays symmetric.
    cx = (WIN_X0 + WIN_X1) // 2
    top, rows = 13, 12
    for i in range(rows):
        y, half = top + i, (i + 1) // 2
        if i == rows - 1:
            c.hline(cx - half, cx + half, y, BLACK)
            continue
        c.hline(cx - half, cx + half, y, TRIANGLE)
        c.set(cx - half, y, BLACK)
        c.set(cx + half, y, BLACK)
    c.vline(cx, top + 4, top + 7, BLACK)
    c.set(cx, top + 9, BLACK)


QUESTION = [
    ' #### ',
    '##  ##',
    '    ##',
    '   ## ',
    '  ##  ',
    '  ##  ',
    '      ',
    '  ##  ',
]


def gauge(step, inks):
    if step == 9:
        c = gauge_base(pale=True)
        c.glyph((WIN_X0 + WIN_X1 + 1) // 2 - 3, (WIN_Y0 + WIN_Y1) // 2 - 4, QUESTION, (96, 104, 118))
        return c
    c = gauge_base()
    # Step s stands for a level of s/8; the two lowest non-empty steps keep a visible remainder.
    fraction = {0: 0.0, 1: 0.06, 2: 0.16}.get(step, step / 8)
    if fraction > 0:
        fill_ink(c, fraction, inks)
    if step <= 2:
        warning_triangle(c)
    return c


# ---------------------------------------------------------------------------------------------
# Header picture (59 x 59, 24-bit): the printer on white, paper in the input tray behind it and a
# printed sheet coming out of the front.

def gradient_rect(c, x0, y0, x1, y1, top, bottom):
    for y in range(y0, y1 + 1):
        t = (y - y0) / max(1, y1 - y0)
        colour = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
        c.hline(x0, x1, y, colour)


def header_printer():
    c = Canvas(59, 59, WHITE)
    outline = (70, 74, 82)
    # Sheet standing in the input tray at the back.
    c.polygon([(17, 5), (43, 5), (46, 24), (14, 24)], (250, 250, 250))
    c.line(17, 5, 43, 5, (170, 174, 180))
    c.line(17, 5, 14, 23, (170, 174, 180))
    c.line(43, 5, 46, 23, (170, 174, 180))
    # Input tray support.
    c.polygon([(12, 16), (47, 16), (50, 24), (9, 24)], (188, 192, 198))
    c.line(12, 16, 47, 16, (150, 154, 160))
    # Printer body: lid, front and base, lit from above.
    gradient_rect(c, 5, 24, 53, 31, (226, 229, 233), (198, 202, 208))      # lid
    gradient_rect(c, 4, 32, 54, 45, (184, 188, 195), (140, 145, 153))      # front
    gradient_rect(c, 6, 46, 52, 49, (112, 116, 124), (90, 94, 100))        # base
    c.frame(5, 24, 53, 31, outline)
    c.frame(4, 31, 54, 45, outline)
    c.hline(6, 52, 49, outline)
    c.vline(6, 46, 49, outline)
    c.vline(52, 46, 49, outline)
    c.hline(6, 52, 25, (246, 247, 249))                                    # highlight on the lid
    # Feet.
    c.rect(8, 50, 12, 51, outline)
    c.rect(46, 50, 50, 51, outline)
    # Output slot and the printed sheet coming out of it.
    c.rect(12, 37, 46, 38, (52, 55, 60))
    c.polygon([(13, 38), (45, 38), (48, 56), (10, 56)], WHITE)
    c.line(13, 38, 10, 56, (170, 174, 180))
    c.line(45, 38, 48, 56, (170, 174, 180))
    c.hline(10, 48, 56, (170, 174, 180))
    # Printed lines in the three inks and black on the sheet.
    for y, ink, x0, x1 in ((42, (0, 150, 220), 16, 40), (45, (220, 0, 130), 16, 36),
                           (48, (240, 200, 0), 15, 42), (51, (40, 40, 44), 15, 33)):
        c.hline(x0, x1, y, ink)
        c.hline(x0, x1, y + 1, shade(ink, 1.5))
    # Control panel at the right of the lid: power button and a green lamp.
    c.rect(44, 33, 50, 35, (90, 94, 100))
    c.set(46, 34, (120, 230, 120))
    c.set(47, 34, (60, 200, 60))
    c.rect(7, 33, 9, 35, (96, 100, 108))
    # Maker's badge: a short light bar on the front left.
    c.hline(6, 11, 40, (220, 224, 230))
    return c


# ---------------------------------------------------------------------------------------------
# Alignment illustration (223 x 115, 256 colours) on key green: two test sheets side by side,
# each printed with rows of short line groups; an arrow in the centre of the right sheet points
# at its straightest group.

SHEET_EDGE = (150, 156, 164)
SHEET_SHADOW = (160, 164, 170)  # the sheets' shadow, grey whatever lies behind
PATTERN_BLUE = (0, 60, 200)
ARROW_RED = (220, 30, 30)


def sheet(c, x0, y0, x1, y1):
    c.rect(x0 + 3, y0 + 3, x1 + 3, y1 + 3, SHEET_SHADOW)
    c.rect(x0, y0, x1, y1, WHITE)
    c.frame(x0, y0, x1, y1, SHEET_EDGE)
    # Folded top-right corner.
    for i in range(8):
        c.hline(x1 - 7 + i, x1, y0 + i, KEY if i < 7 else SHEET_EDGE)
    c.line(x1 - 7, y0, x1, y0 + 7, SHEET_EDGE)
    c.polygon([(x1 - 7, y0 + 1), (x1 - 7, y0 + 8), (x1, y0 + 8)], (228, 230, 234))


DIGITS = {
    1: [' # ', '## ', ' # ', ' # ', '###'],
    2: ['## ', '  #', ' # ', '#  ', '###'],
    3: ['## ', '  #', ' # ', '  #', '## '],
    4: ['# #', '# #', '###', '  #', '  #'],
    5: ['###', '#  ', '## ', '  #', '## '],
    6: [' ##', '#  ', '###', '# #', '###'],
    7: ['###', '  #', ' # ', ' # ', ' # '],
}


def line_group(c, x, y, offset_top, offset_bottom, ink_ends, ink_mid):
    """One alignment mark: a vertical line whose top and bottom pieces are shifted sideways."""
    c.vline(x + offset_top, y, y + 3, ink_ends)
    c.vline(x, y + 4, y + 7, ink_mid)
    c.vline(x + offset_bottom, y + 8, y + 11, ink_ends)


def test_sheet(c, x0, y0, x1, y1, highlight):
    sheet(c, x0, y0, x1, y1)
    # Three rows of seven marks each; the middle mark of each row is straight.
    for row in range(3):
        y = y0 + 12 + row * 24
        for i in range(7):
            x = x0 + 12 + i * 11
            off = i - 3
            line_group(c, x, y, off // 2, -(off // 2), PATTERN_BLUE, BLACK)
            c.glyph(x - 1, y + 14, DIGITS[i + 1], (120, 124, 130))
    if highlight:
        # Arrow pointing up at the centre mark of the middle row.
        cx = x0 + 12 + 3 * 11
        tip = y0 + 12 + 24 + 12 + 1
        c.polygon([(cx + 0.5, tip), (cx + 6.5, tip + 7), (cx + 2.5, tip + 7), (cx + 2.5, tip + 16),
                   (cx - 1.5, tip + 16), (cx - 1.5, tip + 7), (cx - 5.5, tip + 7)], ARROW_RED)


def align_illustration():
    c = Canvas(223, 115, KEY)
    test_sheet(c, 12, 8, 104, 104, highlight=False)
    test_sheet(c, 118, 8, 210, 104, highlight=True)
    return c


# ---------------------------------------------------------------------------------------------
# Alignment examples (16 colours): three lines, the middle one straight, a red arrow at it.

EX_BLUE = (0, 0, 255)
EX_RED = (255, 0, 0)
EX_GREY = (192, 192, 192)


def example_vertical(w, h, ends, middle):
    c = Canvas(w, h, WHITE)
    c.frame(0, 0, w - 1, h - 1, EX_GREY)
    cx = w // 2
    top, bottom = 2, h - 9
    third = (bottom - top + 1) // 3
    for x, shift in ((cx - 12, 2), (cx, 0), (cx + 12, -2)):
        for dx in (0, 1):
            c.vline(x + dx + shift, top, top + third - 1, ends)
            c.vline(x + dx, top + third, top + 2 * third - 1, middle)
            c.vline(x + dx - shift, top + 2 * third, bottom, ends)
    # Arrow under the middle line, pointing up at it.
    head = ['   ##   ', '  ####  ', ' ###### ', '########']
    c.glyph(cx - 3, bottom + 2, head + ['   ##   '] * (h - 2 - (bottom + 2) - len(head)), EX_RED)
    return c


def example_horizontal(w, h, ends, middle):
    c = Canvas(w, h, WHITE)
    c.frame(0, 0, w - 1, h - 1, EX_GREY)
    cy = h // 2 - 1
    left, right = 16, w - 4
    third = (right - left + 1) // 3
    for y, shift in ((cy - 8, 2), (cy, 0), (cy + 8, -2)):
        for dy in (0, 1):
            c.hline(left, left + third - 1, y + dy + shift, ends)
            c.hline(left + third, left + 2 * third - 1, y + dy, middle)
            c.hline(left + 2 * third, right, y + dy - shift, ends)
    # Arrow at the left, pointing right at the middle line.
    c.glyph(3, cy - 3, ['       #   ', '       ##  ', '       ### ', '###########',
                        '###########', '       ### ', '       ##  ', '       #   '], EX_RED)
    return c


# ---------------------------------------------------------------------------------------------

def pictures():
    out = {}
    for step in range(10):
        out[119 + step] = (gauge(step, BLACK_INK), 8)
        out[129 + step] = (gauge(step, COLOUR_INK), 8)
    for step in range(9):
        out[139 + step] = (gauge(step, PHOTO_INK), 8)
    out[151] = (header_printer(), 24)
    out[155] = (align_illustration(), 8)
    out[106] = (example_vertical(64, 28, EX_BLUE, BLACK), 4)
    out[112] = (example_horizontal(64, 28, EX_BLUE, BLACK), 4)
    out[109] = (example_vertical(63, 27, BLACK, BLACK), 4)
    out[110] = (example_vertical(63, 27, EX_BLUE, EX_BLUE), 4)
    out[111] = (out[109][0].copy(), 4)
    out[108] = (out[110][0].copy(), 4)
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    if sys.argv[1:] == ['--check']:
        stale = []
        for rid, (canvas, bits) in sorted(pictures().items()):
            path = os.path.join(here, 'bitmap%d.bmp' % rid)
            if not os.path.exists(path) or open(path, 'rb').read() != bmp_bytes(canvas, bits):
                stale.append(path)
        for path in stale:
            print('differs from make_bitmaps.py: %s' % path)
        sys.exit(1 if stale else 0)
    where = sys.argv[1] if len(sys.argv) > 1 else here
    os.makedirs(where, exist_ok=True)
    for rid, (canvas, bits) in sorted(pictures().items()):
        with open(os.path.join(where, 'bitmap%d.bmp' % rid), 'wb') as f:
            f.write(bmp_bytes(canvas, bits))


if __name__ == '__main__':
    main()
