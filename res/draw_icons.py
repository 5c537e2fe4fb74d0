#!/usr/bin/env python3
"""Draws Marlox.ico (two plugs joined by a cable) and Protected.ico (a key with
its shadow): 32x32, 16 colours, one 744-byte image each.

The .ico files are committed; run this only to change the pictures:
    python3 res/draw_icons.py res/
"""
import math
import struct
import sys
from pathlib import Path

SIZE = 32

# The standard 16-colour palette as (red, green, blue), in palette order.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_YELLOW, LIGHT_GREY, DARK_GREY, YELLOW, WHITE = 0, 3, 7, 8, 11, 15
CLEAR = None  # transparent: mask bit 1, colour 0


class Canvas:
    def __init__(self):
        self.px = [[CLEAR] * SIZE for _ in range(SIZE)]  # [y][x], top row first

    def put(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = colour

    def fill(self, shape, colour):
        for x, y in shape:
            self.put(x, y, colour)

    def outline(self, shape, colour):
        """Paints the pixels of shape that touch a pixel outside it."""
        for x, y in shape:
            if any((x + dx, y + dy) not in shape for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                self.put(x, y, colour)


def rect(x0, y0, x1, y1):
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}


def ring(cx, cy, outer, inner):
    return {(x, y) for x in range(SIZE) for y in range(SIZE)
            if inner * inner <= (x - cx) ** 2 + (y - cy) ** 2 <= outer * outer}


def shifted(shape, dx, dy):
    return {(x + dx, y + dy) for x, y in shape}


def thick_path(points, width):
    """Pixels within width/2 of the polyline through points."""
    shape = set()
    r = width / 2.0
    for (ax, ay), (bx, by) in zip(points, points[1:]):
        steps = int(max(abs(bx - ax), abs(by - ay)) * 4) + 1
        for i in range(steps + 1):
            px = ax + (bx - ax) * i / steps
            py = ay + (by - ay) * i / steps
            for x in range(int(px - r) - 1, int(px + r) + 2):
                for y in range(int(py - r) - 1, int(py + r) + 2):
                    if (x + 0.5 - px) ** 2 + (y + 0.5 - py) ** 2 <= r * r:
                        shape.add((x, y))
    return shape


def shaded_box(canvas, x0, y0, x1, y1):
    """A light grey body with a lit top-left and a shaded bottom-right edge."""
    canvas.fill(rect(x0, y0, x1, y1), LIGHT_GREY)
    canvas.fill(rect(x0 + 1, y0 + 1, x1 - 1, y0 + 1) | rect(x0 + 1, y0 + 1, x0 + 1, y1 - 1), WHITE)
    canvas.fill(rect(x0 + 1, y1 - 1, x1 - 1, y1 - 1) | rect(x1 - 1, y0 + 1, x1 - 1, y1 - 1), DARK_GREY)
    canvas.outline(rect(x0, y0, x1, y1), BLACK)


def draw_plugs():
    c = Canvas()
    # The cable leaves each plug at the bottom and runs round below them.
    arc = [(7.5, 19)]
    for i in range(0, 19):
        a = math.pi * i / 18
        arc.append((16 - 8.5 * math.cos(a), 22 + 6.5 * math.sin(a)))
    arc.append((24.5, 19))
    cable = thick_path(arc, 3.2)
    c.fill(cable, DARK_GREY)
    c.outline(cable, BLACK)
    # Strain reliefs.
    for x0 in (5, 22):
        relief = rect(x0, 17, x0 + 5, 20)
        c.fill(relief, DARK_GREY)
        c.outline(relief, BLACK)
    # Left plug with its two prongs pointing right.
    shaded_box(c, 1, 5, 12, 17)
    for y0 in (7, 13):
        prong = rect(13, y0, 18, y0 + 2)
        c.fill(prong, LIGHT_GREY)
        c.outline(prong, BLACK)
        c.put(14, y0 + 1, WHITE)
    # Right plug (the socket end) facing left, with the two holes for the prongs.
    shaded_box(c, 20, 5, 30, 17)
    for y0 in (7, 13):
        c.fill(rect(20, y0, 22, y0 + 2), BLACK)
    return c


def draw_key():
    c = Canvas()
    bow = ring(9, 11, 7.2, 3.0)
    shaft = rect(15, 9, 29, 13)
    bits = rect(20, 14, 22, 17) | rect(25, 14, 28, 19)
    key = bow | shaft | bits
    shadow = shifted(key, 2, 2) - key
    c.fill(shadow, DARK_GREY)
    c.fill(key, YELLOW)
    c.outline(key, DARK_YELLOW)
    # A glint on the bow and along the shaft.
    c.fill({(5, 7), (6, 6), (7, 5)} | rect(17, 10, 26, 10), WHITE)
    return c


def ico_bytes(canvas):
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, SIZE * SIZE // 2, 0, 0, 16, 16)
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    colour = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bottom row first
        row = canvas.px[y]
        for x in range(0, SIZE, 2):
            hi, lo = row[x] or 0, row[x + 1] or 0
            colour.append(hi << 4 | lo)
        bits = 0
        for x in range(SIZE):
            bits = bits << 1 | (1 if row[x] is CLEAR else 0)
        mask += bits.to_bytes(4, 'big')
    image = header + palette + bytes(colour) + bytes(mask)
    assert len(image) == 744
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    (out / 'Marlox.ico').write_bytes(ico_bytes(draw_plugs()))
    (out / 'Protected.ico').write_bytes(ico_bytes(draw_key()))


if __name__ == '__main__':
    main()
