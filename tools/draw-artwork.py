#!/usr/bin/env python3
"""Draws the bitmaps and icons of SETUP.EXE into resources/.

Standard library only and fully deterministic: the same script always writes
the same bytes, so the committed files can be regenerated and compared.

  page.bmp      118 x 234, 16 colours   picture at the left of every page
  serial.bmp     70 x 55, 256 colours   serial mouse with its DB-9 plug
  ps2.bmp        70 x 55, 256 colours   PS/2 mouse with its mini-DIN plug
  banner.bmp    400 x 50, 16 colours    title banner on magenta
  credit.bmp    490 x 43, 16 colours    maker's credit line on magenta
  setup.ico, disk.ico, diskdone.ico     32 x 32, 16 colours, with AND mask
"""

import math
import os
import struct
import sys

# ---------------------------------------------------------------------------
# Palettes

# The 16 colours every Windows 95 display has, in the usual VGA order.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(8, 16)


def palette256():
    """VGA colours, a 6x6x6 colour cube and a 24-step grey ramp."""
    pal = list(VGA16)
    levels = [0, 51, 102, 153, 204, 255]
    for r in levels:
        for g in levels:
            for b in levels:
                pal.append((r, g, b))
    for i in range(24):
        v = 8 + i * 10
        pal.append((v, v, v))
    assert len(pal) == 256
    return pal


PAL256 = palette256()

# 4x4 ordered-dither thresholds, 0..15.
BAYER4 = [
    [0, 8, 2, 10],
    [12, 4, 14, 6],
    [3, 11, 1, 9],
    [15, 7, 13, 5],
]


def dither_level(x, y, value, steps):
    """Ordered dither of a value in 0..1 over a list of palette indices.

    steps lists indices from darkest (value 0) to brightest (value 1),
    evenly spaced."""
    value = min(max(value, 0.0), 1.0)
    pos = value * (len(steps) - 1)
    low = int(pos)
    if low >= len(steps) - 1:
        return steps[-1]
    frac = pos - low
    threshold = (BAYER4[y & 3][x & 3] + 0.5) / 16.0
    return steps[low + 1] if frac > threshold else steps[low]


def nearest(palette, rgb):
    best, best_d = 0, None
    for i, (r, g, b) in enumerate(palette):
        d = (r - rgb[0]) ** 2 + (g - rgb[1]) ** 2 + (b - rgb[2]) ** 2
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


# ---------------------------------------------------------------------------
# A small anti-aliased canvas: premultiplied RGBA floats, shapes given as
# inside-tests sampled 4x4 per pixel.

SS = 4


class Canvas:
    def __init__(self, w, h, fill=None):
        self.w, self.h = w, h
        if fill is None:
            self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]
        else:
            self.px = [[fill[0], fill[1], fill[2], 1.0] for _ in range(w * h)]

    def fill(self, inside, colour, box=None):
        """Paints colour (an RGB triple or a function of the pixel x, y)
        wherever inside(x, y) holds for sample points."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        x1, y1 = min(self.w, int(math.ceil(x1)) + 1), min(self.h, int(math.ceil(y1)) + 1)
        for py in range(y0, y1):
            for px in range(x0, x1):
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        if inside(px + (sx + 0.5) / SS, py + (sy + 0.5) / SS):
                            hits += 1
                if not hits:
                    continue
                cov = hits / (SS * SS)
                c = colour(px, py) if callable(colour) else colour
                p = self.px[py * self.w + px]
                for k in range(3):
                    p[k] = p[k] * (1.0 - cov) + c[k] * cov
                p[3] = p[3] * (1.0 - cov) + cov

    def rgb(self, x, y):
        p = self.px[y * self.w + x]
        if p[3] <= 0.0:
            return (0, 0, 0)
        return tuple(int(round(min(255.0, max(0.0, p[k] / p[3])))) for k in range(3))

    def alpha(self, x, y):
        return self.px[y * self.w + x][3]


# Shape helpers: each returns an inside-test and its bounding box.

def ellipse(cx, cy, rx, ry):
    def inside(x, y):
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0
    return inside, (cx - rx, cy - ry, cx + rx, cy + ry)


def egg(cx, cy, rx, ry, flare, grow=0.0):
    """Mouse body seen from above: an ellipse whose width grows towards
    the bottom by the factor flare."""
    rx, ry = rx + grow, ry + grow

    def inside(x, y):
        t = (y - cy) / ry
        w = rx * (1.0 + flare * t)
        return (x - cx) ** 2 / (w * w) + t * t <= 1.0
    return inside, (cx - rx * (1 + abs(flare)), cy - ry, cx + rx * (1 + abs(flare)), cy + ry)


def rect(x0, y0, x1, y1):
    def inside(x, y):
        return x0 <= x < x1 and y0 <= y < y1
    return inside, (x0, y0, x1, y1)


def round_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside, (x0, y0, x1, y1)


def polygon(points):
    def inside(x, y):
        odd = False
        n = len(points)
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * (bx - ax) / (by - ay):
                    odd = not odd
        return odd
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def thick_line(points, width):
    """A polyline of the given width with round joints and ends."""
    r2 = (width / 2.0) ** 2

    def inside(x, y):
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            ll = dx * dx + dy * dy
            t = 0.0 if ll == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / ll))
            qx, qy = ax + t * dx - x, ay + t * dy - y
            if qx * qx + qy * qy <= r2:
                return True
        return False
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    h = width / 2.0
    return inside, (min(xs) - h, min(ys) - h, max(xs) + h, max(ys) + h)


def paint(canvas, shape, colour):
    inside, box = shape
    canvas.fill(inside, colour, box)


def bezier(p0, p1, p2, p3, n=24):
    pts = []
    for i in range(n + 1):
        t = i / n
        u = 1 - t
        pts.append((u * u * u * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t * t * t * p3[0],
                    u * u * u * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t * t * t * p3[1]))
    return pts


# ---------------------------------------------------------------------------
# Bitmap font: 5 columns, 7 rows above the baseline and 2 below.

GLYPHS = {
    'A': ".###. #...# #...# ##### #...# #...# #...#",
    'B': "####. #...# #...# ####. #...# #...# ####.",
    'C': ".###. #...# #.... #.... #.... #...# .###.",
    'D': "####. #...# #...# #...# #...# #...# ####.",
    'E': "##### #.... #.... ####. #.... #.... #####",
    'F': "##### #.... #.... ####. #.... #.... #....",
    'G': ".###. #...# #.... #.### #...# #...# .###.",
    'H': "#...# #...# #...# ##### #...# #...# #...#",
    'I': "### .#. .#. .#. .#. .#. ###",
    'J': "..### ...#. ...#. ...#. #..#. #..#. .##..",
    'K': "#...# #..#. #.#.. ##... #.#.. #..#. #...#",
    'L': "#.... #.... #.... #.... #.... #.... #####",
    'M': "#...# ##.## #.#.# #.#.# #...# #...# #...#",
    'N': "#...# #...# ##..# #.#.# #..## #...# #...#",
    'O': ".###. #...# #...# #...# #...# #...# .###.",
    'P': "####. #...# #...# ####. #.... #.... #....",
    'Q': ".###. #...# #...# #...# #.#.# #..#. .##.#",
    'R': "####. #...# #...# ####. #.#.. #..#. #...#",
    'S': ".#### #.... #.... .###. ....# ....# ####.",
    'T': "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#..",
    'U': "#...# #...# #...# #...# #...# #...# .###.",
    'V': "#...# #...# #...# #...# #...# .#.#. ..#..",
    'W': "#...# #...# #...# #.#.# #.#.# #.#.# .#.#.",
    'X': "#...# #...# .#.#. ..#.. .#.#. #...# #...#",
    'Y': "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#..",
    'Z': "##### ....# ...#. ..#.. .#... #.... #####",
    'a': "..... ..... .###. ....# .#### #...# .####",
    'b': "#.... #.... #.##. ##..# #...# #...# ####.",
    'c': "..... ..... .###. #.... #.... #...# .###.",
    'd': "....# ....# .##.# #..## #...# #...# .####",
    'e': "..... ..... .###. #...# ##### #.... .###.",
    'f': "..##. .#..# .#... ###.. .#... .#... .#...",
    'g': "..... ..... .#### #...# #...# .#### ....# #...# .###.",
    'h': "#.... #.... #.##. ##..# #...# #...# #...#",
    'i': ".#. ... ##. .#. .#. .#. ###",
    'j': "...# .... ..## ...# ...# ...# ...# #..# .##.",
    'k': "#.... #.... #..#. #.#.. ##... #.#.. #..#.",
    'l': "##. .#. .#. .#. .#. .#. ###",
    'm': "..... ..... ##.#. #.#.# #.#.# #...# #...#",
    'n': "..... ..... #.##. ##..# #...# #...# #...#",
    'o': "..... ..... .###. #...# #...# #...# .###.",
    'p': "..... ..... ####. #...# #...# #...# ####. #.... #....",
    'q': "..... ..... .#### #...# #...# #...# .#### ....# ....#",
    'r': "..... ..... #.##. ##..# #.... #.... #....",
    's': "..... ..... .#### #.... .###. ....# ####.",
    't': ".#... .#... ###.. .#... .#... .#..# ..##.",
    'u': "..... ..... #...# #...# #...# #..## .##.#",
    'v': "..... ..... #...# #...# #...# .#.#. ..#..",
    'w': "..... ..... #...# #...# #.#.# #.#.# .#.#.",
    'x': "..... ..... #...# .#.#. ..#.. .#.#. #...#",
    'y': "..... ..... #...# #...# #...# #...# .#### ....# .###.",
    'z': "..... ..... ##### ...#. ..#.. .#... #####",
    '0': ".###. #...# #..## #.#.# ##..# #...# .###.",
    '1': "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###.",
    '2': ".###. #...# ....# ...#. ..#.. .#... #####",
    '3': "##### ...#. ..#.. ...#. ....# #...# .###.",
    '4': "...#. ..##. .#.#. #..#. ##### ...#. ...#.",
    '5': "##### #.... ####. ....# ....# #...# .###.",
    '6': "..##. .#... #.... ####. #...# #...# .###.",
    '7': "##### ....# ...#. ..#.. .#... .#... .#...",
    '8': ".###. #...# #...# .###. #...# #...# .###.",
    '9': ".###. #...# #...# .#### ....# ...#. .##..",
    '(': "..# .#. #.. #.. #.. .#. ..#",
    ')': "#.. .#. ..# ..# ..# .#. #..",
    '.': ". . . . . . #",
    ',': ".. .. .. .. .. .# .# #.",
    '-': "..... ..... ..... ##### ..... ..... .....",
}
SPACE_WIDTH = 3


def glyph_rows(ch):
    rows = GLYPHS[ch].split()
    width = len(rows[0])
    assert all(len(r) == width for r in rows), ch
    return rows, width


def text_cells(text):
    """Font cells (column, row) that are set, and the text's width in cells."""
    cells, x = [], 0
    for i, ch in enumerate(text):
        if i:
            x += 1
        if ch == ' ':
            x += SPACE_WIDTH
            continue
        rows, width = glyph_rows(ch)
        for ry, row in enumerate(rows):
            for rx, c in enumerate(row):
                if c == '#':
                    cells.append((x + rx, ry))
        x += width
    return cells, x


def draw_text(img, w, h, text, x0, y0, sx, sy, colour):
    cells, _ = text_cells(text)
    for cx, cy in cells:
        for yy in range(y0 + cy * sy, y0 + (cy + 1) * sy):
            for xx in range(x0 + cx * sx, x0 + (cx + 1) * sx):
                assert 0 <= xx < w and 0 <= yy < h, (text, xx, yy)
                img[yy * w + xx] = colour


def banner(w, h, text, sx, sy, shadow, rows):
    """White letters with a black drop shadow on magenta, centred."""
    _, width = text_cells(text)
    tw, th = width * sx + shadow, rows * sy + shadow
    assert tw <= w and th <= h, text
    x0, y0 = (w - tw) // 2, (h - th) // 2
    img = [MAGENTA] * (w * h)
    draw_text(img, w, h, text, x0 + shadow, y0 + shadow, sx, sy, BLACK)
    draw_text(img, w, h, text, x0, y0, sx, sy, WHITE)
    return img


# ---------------------------------------------------------------------------
# File writers

def bmp_bytes(w, h, bpp, palette, indices):
    """Uncompressed bottom-up BMP with a BITMAPINFOHEADER."""
    stride = ((w * bpp + 31) // 32) * 4
    rows = []
    for y in range(h - 1, -1, -1):
        line = indices[y * w:(y + 1) * w]
        rows.append(pack_row(line, bpp, stride))
    bits = b''.join(rows)
    colours = len(palette)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bpp, 0, len(bits), 2835, 2835, colours, 0)
    offset = 14 + len(info) + len(pal)
    head = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0, offset)
    return head + info + pal + bits


def pack_row(line, bpp, stride):
    out = bytearray()
    if bpp == 8:
        out.extend(line)
    elif bpp == 4:
        for i in range(0, len(line), 2):
            hi = line[i]
            lo = line[i + 1] if i + 1 < len(line) else 0
            out.append((hi << 4) | lo)
    elif bpp == 1:
        for i in range(0, len(line), 8):
            byte = 0
            for k in range(8):
                if i + k < len(line) and line[i + k]:
                    byte |= 0x80 >> k
            out.append(byte)
    else:
        raise ValueError(bpp)
    out.extend(b'\0' * (stride - len(out)))
    return bytes(out)


def ico_bytes(indices, mask):
    """A one-image .ico: 32x32, 16 colours, XOR bits then the AND mask
    (1 = transparent)."""
    w = h = 32
    xor = b''.join(pack_row(indices[y * w:(y + 1) * w], 4, 16) for y in range(h - 1, -1, -1))
    andm = b''.join(pack_row(mask[y * w:(y + 1) * w], 1, 4) for y in range(h - 1, -1, -1))
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in VGA16)
    info = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, 4, 0, len(xor) + len(andm), 0, 0, 0, 0)
    image = info + pal + xor + andm
    head = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', w, h, 16, 0, 1, 4, len(image), 6 + 16)
    return head + entry + image


# ---------------------------------------------------------------------------
# Mouse drawing shared by the pictures

def mouse_shade(cx, cy, rx, ry, base, spread):
    """Brightness of a rounded body lit from the upper left, 0..1."""
    def level(x, y):
        nx, ny = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
        r = min(1.0, math.sqrt(nx * nx + ny * ny))
        return base - spread * (0.55 * nx + 0.45 * ny) - 0.45 * r ** 6
    return level


def draw_mouse(cv, cx, cy, rx, ry, colour_of, outline, line, wheel, cable_to=None,
               cable_colour=None, cable_width=2.0, seam_width=None, ridge=None):
    """A wheel mouse seen from above, cable leaving at the top.

    colour_of(level, x, y) turns the body's brightness into a colour, so the
    same outline serves dithered 16-colour and smooth 256-colour pictures."""
    top = cy - ry
    if cable_to:
        pts = bezier((cx, top + 1), cable_to[0], cable_to[1], cable_to[2])
        paint(cv, thick_line(pts, cable_width + 2.0), outline)
        paint(cv, thick_line(pts, cable_width), cable_colour)
    flare = 0.10
    paint(cv, egg(cx, cy, rx, ry, flare, grow=1.1), outline)
    level = mouse_shade(cx, cy, rx, ry, 0.78, 0.30)
    paint(cv, egg(cx, cy, rx, ry, flare), lambda x, y: colour_of(level(x, y), x, y))
    # Button split: a line across the upper third and one down the middle.
    split = cy - 0.30 * ry
    inside_body = egg(cx, cy, rx, ry, flare)[0]
    lw = seam_width if seam_width else max(0.8, rx / 14.0)

    def seam(x, y):
        if not inside_body(x, y):
            return False
        return abs(y - split) < lw / 2 or (y < split and abs(x - cx) < lw / 2)
    paint(cv, (seam, (cx - rx * 1.2, top, cx + rx * 1.2, split + 1)), line)
    # The wheel sits in a slot between the buttons.
    ww, wh = max(2.0, rx * 0.30), ry * 0.34
    wy0 = top + ry * 0.22
    paint(cv, round_rect(cx - ww / 2 - lw, wy0 - lw, cx + ww / 2 + lw, wy0 + wh + lw, ww / 2), outline)
    paint(cv, round_rect(cx - ww / 2, wy0, cx + ww / 2, wy0 + wh, ww / 2 - 0.2), wheel)
    if ridge:
        # Grip ridges across the wheel.
        y = wy0 + 2.5
        while y < wy0 + wh - 2.0:
            paint(cv, rect(cx - ww / 2 + 1.5, y, cx + ww / 2 - 1.5, y + 1.0), ridge)
            y += 3.0


# ---------------------------------------------------------------------------
# The pictures

def draw_page():
    """Left-hand picture of the wizard pages: a wheel mouse on a blue
    gradient, with scroll arrows beside the wheel."""
    w, h = 118, 234
    cx, cy, rx, ry = 57.0, 166.0, 27.0, 40.0
    blues = [BLACK, NAVY, BLUE]

    def bg_level(x, y):
        v = 1.0 - 0.85 * (y / (h - 1))
        # A soft glow behind the mouse.
        d = math.hypot((x - cx) / 70.0, (y - (cy - 10)) / 80.0)
        v += 0.35 * max(0.0, 1.0 - d)
        # The mouse's shadow, down and to the right.
        sx, sy = x - 6, y - 7
        t = (sy - cy) / ry
        wdt = rx * (1.0 + 0.10 * t)
        if (sx - cx) ** 2 / (wdt * wdt) + t * t <= 1.0:
            v *= 0.35
        return v

    img = [dither_level(x, y, bg_level(x, y), blues) for y in range(h) for x in range(w)]
    # A few stars in the sky above.
    for (sx, sy, big) in [(14, 18, 1), (92, 12, 0), (70, 40, 1), (24, 64, 0), (100, 78, 1),
                          (40, 100, 0), (10, 92, 1), (108, 120, 0)]:
        img[sy * w + sx] = WHITE
        if big:
            for dx, dy in [(-1, 0), (1, 0), (0, -1), (0, 1)]:
                img[(sy + dy) * w + sx + dx] = CYAN

    greys = [BLACK, GRAY, SILVER, WHITE]
    layer = Canvas(w, h)

    def body_colour(level, x, y):
        return VGA16[dither_level(x, y, level, greys)]
    draw_mouse(layer, cx, cy, rx, ry, body_colour, VGA16[BLACK], VGA16[GRAY], VGA16[BLACK],
               cable_to=((cx, cy - ry - 30), (cx + 40, 105), (cx + 22, -2)),
               cable_colour=VGA16[SILVER], cable_width=3.0, seam_width=1.2, ridge=VGA16[GRAY])
    # Scroll arrows beside the wheel.
    ax, ay = cx - rx - 12, cy - ry * 0.65
    up = [(ax, ay - 16), (ax - 7, ay - 6), (ax + 7, ay - 6)]
    down = [(ax, ay + 16), (ax - 7, ay + 6), (ax + 7, ay + 6)]
    for tri in (up, down):
        # A slightly larger black triangle behind gives the outline.
        grown = [(x + (x - ax) * 0.25, y + (y - ay) * 0.12) for x, y in tri]
        paint(layer, polygon(grown), VGA16[BLACK])
        paint(layer, polygon(tri), VGA16[YELLOW])
    for y in range(h):
        for x in range(w):
            if layer.alpha(x, y) >= 0.5:
                img[y * w + x] = nearest(VGA16, layer.rgb(x, y))
    return w, h, img


def draw_small_mouse(plug):
    """70x55 picture of the mouse-type page: a mouse whose cable runs to the
    plug at the right, serial (DB-9) or PS/2 (mini-DIN)."""
    w, h = 70, 55
    bg = VGA16[SILVER]
    cv = Canvas(w, h, bg)
    cx, cy, rx, ry = 16.0, 31.0, 11.0, 17.0

    def body_colour(level, x, y):
        v = max(0.0, min(1.0, level))
        return (70 + 185 * v, 70 + 185 * v, 64 + 176 * v)
    dark = (40, 40, 40)
    if plug == 'serial':
        end = (42.0, 36.0)
        cable = ((cx, 2.0), (32.0, 2.0))
    else:
        end = (40.0, 34.0)
        cable = ((cx, 2.0), (34.0, 0.0))
    # The cable is drawn here rather than by draw_mouse so that it can be
    # drawn thinner and end inside the plug's hood.
    pts = bezier((cx, cy - ry + 1), cable[0], cable[1], end)
    paint(cv, thick_line(pts, 3.2), dark)
    paint(cv, thick_line(pts, 1.6), (150, 150, 150))
    draw_mouse(cv, cx, cy, rx, ry, body_colour, dark, (110, 110, 105), (30, 30, 30))

    if plug == 'serial':
        # Hood of the plug, then the D-shaped face with 5 + 4 pins.
        paint(cv, round_rect(41, 23, 51, 47, 2), dark)
        paint(cv, round_rect(42, 24, 50, 46, 1.5),
              lambda x, y: (200 - 3 * (x - 42), 195 - 3 * (x - 42), 180 - 3 * (x - 42)))
        paint(cv, round_rect(49, 14, 56, 41, 1.5), dark)
        paint(cv, rect(50, 15, 55, 40), (150, 150, 155))
        for sy in (18.0, 36.5):
            paint(cv, ellipse(52.5, sy, 2.0, 2.0), dark)
            paint(cv, ellipse(52.3, sy - 0.2, 1.3, 1.3), (225, 225, 230))
        face = [(55.0, 20.0), (66.0, 22.5), (66.0, 32.5), (55.0, 35.0)]
        paint(cv, polygon([(54.0, 19.0), (67.2, 21.8), (67.2, 33.2), (54.0, 36.0)]), dark)
        paint(cv, polygon(face), (210, 210, 215))
        paint(cv, polygon([(56.5, 22.0), (64.6, 23.8), (64.6, 31.2), (56.5, 33.0)]), (60, 60, 70))
        for i in range(5):
            paint(cv, ellipse(59.0, 23.8 + 2.3 * i, 0.9, 0.9), (235, 205, 90))
        for i in range(4):
            paint(cv, ellipse(62.2, 25.0 + 2.3 * i, 0.9, 0.9), (235, 205, 90))
    else:
        # Moulded plug body, then the round face: shield, insulator, six pins.
        paint(cv, round_rect(39, 27, 47, 41, 2), dark)
        paint(cv, round_rect(40, 28, 46, 40, 1.5), (120, 115, 150))
        ccx, ccy = 56.0, 34.0
        paint(cv, ellipse(ccx, ccy, 12.5, 12.5), dark)
        paint(cv, ellipse(ccx, ccy, 11.4, 11.4), (135, 130, 170))
        paint(cv, ellipse(ccx, ccy, 9.0, 9.0), (70, 70, 70))
        paint(cv, ellipse(ccx, ccy, 8.2, 8.2), (205, 205, 210))
        paint(cv, ellipse(ccx, ccy, 6.8, 6.8), (35, 35, 40))
        paint(cv, rect(ccx - 1.5, ccy + 4.6, ccx + 1.5, ccy + 8.3), (205, 205, 210))
        paint(cv, rect(ccx - 1.6, ccy - 1.2, ccx + 1.6, ccy + 1.2), (90, 90, 95))
        for ang in (30, 90, 150, 210, 330):
            a = math.radians(ang)
            paint(cv, ellipse(ccx + 4.3 * math.cos(a), ccy - 4.3 * math.sin(a), 0.95, 0.95), (235, 205, 90))
        paint(cv, ellipse(ccx - 2.5, ccy + 3.6, 0.95, 0.95), (235, 205, 90))
        paint(cv, ellipse(ccx + 2.5, ccy + 3.6, 0.95, 0.95), (235, 205, 90))
    img = [nearest(PAL256, cv.rgb(x, y)) for y in range(h) for x in range(w)]
    return w, h, img


def icon_from(cv):
    img, mask = [], []
    for y in range(32):
        for x in range(32):
            if cv.alpha(x, y) >= 0.5:
                img.append(nearest(VGA16, cv.rgb(x, y)))
                mask.append(0)
            else:
                img.append(BLACK)
                mask.append(1)
    return img, mask


def draw_setup_icon():
    cv = Canvas(32, 32)
    greys = [BLACK, GRAY, SILVER, WHITE]

    def body_colour(level, x, y):
        if level > 0.93:
            return VGA16[WHITE]
        return VGA16[SILVER] if level > 0.45 else VGA16[GRAY]
    draw_mouse(cv, 17.0, 19.5, 9.0, 11.5, body_colour, VGA16[BLACK], VGA16[GRAY], VGA16[BLACK],
               cable_to=((17.0, 4.0), (6.0, 8.0), (4.0, 0.5)), cable_colour=VGA16[SILVER],
               cable_width=1.6, seam_width=1.5)
    return icon_from(cv)


def draw_disk(cv):
    """A 3.5-inch floppy disk filling most of the icon."""
    body = [(3, 3), (26, 3), (29, 6), (29, 29), (3, 29)]
    paint(cv, polygon(body), VGA16[BLACK])
    paint(cv, polygon([(4, 4), (25.6, 4), (28, 6.4), (28, 28), (4, 28)]), VGA16[NAVY])
    paint(cv, rect(9, 3, 23, 13), VGA16[BLACK])
    paint(cv, rect(10, 4, 22, 12), VGA16[SILVER])
    paint(cv, rect(17, 5, 20, 11), VGA16[NAVY])
    paint(cv, rect(7, 16, 25, 29), VGA16[BLACK])
    paint(cv, rect(8, 17, 24, 28), VGA16[WHITE])
    for ly in (19, 22, 25):
        paint(cv, rect(10, ly, 22, ly + 1), VGA16[GRAY])
    paint(cv, rect(4, 24, 6, 26), VGA16[BLACK])


def draw_disk_icon():
    cv = Canvas(32, 32)
    draw_disk(cv)
    return icon_from(cv)


def draw_disk_done_icon():
    cv = Canvas(32, 32)
    draw_disk(cv)
    tick = [(12.0, 20.0), (17.0, 26.0), (28.0, 12.0)]
    paint(cv, thick_line(tick, 6.0), VGA16[BLACK])
    paint(cv, thick_line(tick, 3.4), VGA16[LIME])
    return icon_from(cv)


# ---------------------------------------------------------------------------

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, os.pardir, 'resources')
    if len(sys.argv) > 1:
        out = sys.argv[1]
    files = {}

    w, h, img = draw_page()
    files['page.bmp'] = bmp_bytes(w, h, 4, VGA16, img)
    for name, plug in (('serial.bmp', 'serial'), ('ps2.bmp', 'ps2')):
        w, h, img = draw_small_mouse(plug)
        files[name] = bmp_bytes(w, h, 8, PAL256, img)
    files['banner.bmp'] = bmp_bytes(400, 50, 4, VGA16,
                                    banner(400, 50, "Orvel Setup", 5, 5, 3, 9))
    files['credit.bmp'] = bmp_bytes(490, 43, 4, VGA16,
                                    banner(490, 43, "COPYRIGHT (C) 1998 TARNWICK INPUT DEVICES",
                                           2, 3, 2, 7))
    files['setup.ico'] = ico_bytes(*draw_setup_icon())
    files['disk.ico'] = ico_bytes(*draw_disk_icon())
    files['diskdone.ico'] = ico_bytes(*draw_disk_done_icon())

    for name in sorted(files):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(files[name])
        print('%-14s %6d bytes' % (name, len(files[name])))


if __name__ == '__main__':
    main()
