#!/usr/bin/env python3
"""Draws the fourteen 24 x 24 tool-box button pictures of Corvane32 into resources/buttons/.

Each button has a normal picture (raised face) and a pressed one (sunken face, the glyph
moved one pixel right and down). Everything is drawn here from plain shapes, so running the
script again writes the same bytes.  Usage: tools/make_button_bitmaps.py [output-dir]
"""

import os
import struct
import sys
import zlib

SIZE = 24

FACE = (192, 192, 192)
LIGHT = (255, 255, 255)
SHADOW = (128, 128, 128)
DARK = (0, 0, 0)
INK = (0, 0, 0)
BLUE = (0, 0, 160)
RED = (192, 0, 0)
GREEN = (0, 128, 0)
GLASS = (224, 240, 255)


class Canvas:
    def __init__(self):
        self.pixels = [[FACE] * SIZE for _ in range(SIZE)]
        self.dx = 0
        self.dy = 0

    def put(self, x, y, colour):
        x += self.dx
        y += self.dy
        # The glyph keeps off the two-pixel bevel.
        if 2 <= x < SIZE - 2 and 2 <= y < SIZE - 2:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.put(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def circle(self, cx, cy, r, colour, fill=None):
        for y in range(cy - r - 1, cy + r + 2):
            for x in range(cx - r - 1, cx + r + 2):
                d2 = (x - cx) ** 2 + (y - cy) ** 2
                if fill is not None and d2 <= (r - 1) ** 2:
                    self.put(x, y, fill)
                if (r - 0.5) ** 2 <= d2 <= (r + 0.5) ** 2:
                    self.put(x, y, colour)

    def triangle(self, points, colour):
        ys = [p[1] for p in points]
        for y in range(min(ys), max(ys) + 1):
            xs = []
            for i in range(3):
                (xa, ya), (xb, yb) = points[i], points[(i + 1) % 3]
                if ya == yb:
                    continue
                if min(ya, yb) <= y <= max(ya, yb):
                    xs.append(xa + (y - ya) * (xb - xa) / (yb - ya))
            if xs:
                for x in range(int(round(min(xs))), int(round(max(xs))) + 1):
                    self.put(x, y, colour)


def bevel(canvas, pressed):
    p = canvas.pixels
    outer_tl, outer_br = (DARK, LIGHT) if pressed else (LIGHT, DARK)
    inner_tl, inner_br = (SHADOW, FACE) if pressed else (FACE, SHADOW)
    for i in range(SIZE):
        p[0][i] = p[i][0] = outer_tl
        p[SIZE - 1][i] = p[i][SIZE - 1] = outer_br
    for i in range(1, SIZE - 1):
        p[1][i] = p[i][1] = inner_tl
        p[SIZE - 2][i] = p[i][SIZE - 2] = inner_br
    p[0][SIZE - 1] = p[SIZE - 1][0] = outer_br


def glyph_next(c):
    c.triangle([(6, 6), (6, 17), (14, 11)], BLUE)
    c.triangle([(6, 6), (6, 17), (14, 12)], BLUE)
    c.rect(15, 6, 17, 17, BLUE)


def glyph_reload(c):
    c.circle(11, 12, 6, GREEN)
    c.circle(11, 12, 5, GREEN)
    c.rect(12, 4, 17, 9, FACE)  # the gap of the arrow
    c.triangle([(12, 3), (12, 10), (17, 7)], GREEN)


def glyph_hist(c):
    heights = [3, 6, 11, 14, 9, 5, 2]
    for i, h in enumerate(heights):
        x = 5 + 2 * i
        c.rect(x, 18 - h, x + 1, 18, INK if i % 2 else SHADOW)
    c.line(4, 19, 19, 19, INK)


def glyph_prism(c):
    c.line(11, 4, 4, 18, INK)
    c.line(11, 4, 18, 18, INK)
    c.line(4, 18, 18, 18, INK)
    c.line(3, 12, 8, 11, LIGHT)
    for i, colour in enumerate([RED, (224, 160, 0), GREEN, BLUE]):
        c.line(14, 10 + i, 20, 8 + 3 * i, colour)


def magnifier(c):
    c.circle(10, 10, 6, INK, fill=GLASS)
    for i in range(5):
        c.line(14 + i, 15 + i, 15 + i, 14 + i, INK)
        c.line(14 + i, 14 + i, 15 + i, 15 + i, INK)


def glyph_zoom_in(c):
    magnifier(c)
    c.rect(7, 10, 13, 10, INK)
    c.rect(10, 7, 10, 13, INK)


def glyph_zoom_out(c):
    magnifier(c)
    c.rect(7, 10, 13, 10, INK)


def glyph_do(c):
    # An aperture ellipse with its star and the background box around it.
    c.rect(4, 4, 19, 4, RED)
    c.rect(4, 19, 19, 19, RED)
    c.rect(4, 4, 4, 19, RED)
    c.rect(19, 4, 19, 19, RED)
    c.circle(11, 11, 5, RED)
    c.rect(10, 10, 12, 12, INK)
    c.put(11, 9, INK)
    c.put(11, 13, INK)
    c.put(9, 11, INK)
    c.put(13, 11, INK)


BUTTONS = [
    ("nextup", "nextdwn", glyph_next),
    ("reloadup", "reloadwn", glyph_reload),
    ("histup", "histdwn", glyph_hist),
    ("prismup", "prismdwn", glyph_prism),
    ("zoominup", "zoomindw", glyph_zoom_in),
    ("zoomotup", "zoomotdw", glyph_zoom_out),
    ("doup", "dodwn", glyph_do),
]


def png(pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in pixels)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def draw(glyph, pressed):
    canvas = Canvas()
    bevel(canvas, pressed)
    if pressed:
        canvas.dx = canvas.dy = 1
    glyph(canvas)
    return canvas.pixels


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "buttons")
    os.makedirs(out, exist_ok=True)
    for normal, pressed, glyph in BUTTONS:
        for name, down in ((normal, False), (pressed, True)):
            with open(os.path.join(out, name + ".png"), "wb") as f:
                f.write(png(draw(glyph, down)))


if __name__ == "__main__":
    main()
