#!/usr/bin/env python3
"""Draws Marlox.ico (two plugs joined by a cable) and Protected.ico (a key with
its shadow). Each file holds, in this order:
  - the 32x32 16-colour image of 744 bytes, drawn pixel by pixel, for old systems;
  - 32-bit images with alpha and mask at 16, 20, 24, 32, 40 and 48 pixels;
  - PNGs at 64 and 256 pixels: sizes only systems that read PNG icons ask for, and a
    quarter of the bytes of a bitmap, which keeps the x86 program under 300 KB.
The true-colour images come from the same shapes in the same 32-unit coordinates,
rendered smooth at each size (supersampled, then averaged).

The .ico files are committed; run this only to change the pictures:
    python3 res/draw_icons.py res/
"""
import math
import struct
import sys
import zlib
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


# ---- True-colour images -------------------------------------------------------------
# A picture is a list of (operation, shape, colour), painted in order. A shape is a function
# of the grid's units-to-pixels factor k returning the set of grid pixels it covers; a point
# (u, v) of the 32-unit picture is grid pixel (u * k, v * k).

TRUE_COLOUR_SIZES = (16, 20, 24, 32, 40, 48)
PNG_SIZES = (64, 256)


def v_rect(x0, y0, x1, y1):
    """The pixel rectangle rect(x0, y0, x1, y1) of the 32x32 picture."""
    def cover(k):
        return {(i, j) for i in range(x0 * k, (x1 + 1) * k) for j in range(y0 * k, (y1 + 1) * k)}
    return cover


def v_ring(cx, cy, outer, inner):
    """ring(): centred on pixel (cx, cy), whose centre is the point (cx + 0.5, cy + 0.5)."""
    def cover(k):
        ox, oy = (cx + 0.5) * k, (cy + 0.5) * k
        lo, hi = (inner * k) ** 2, (outer * k) ** 2
        r = int(outer * k) + 2
        return {(i, j)
                for i in range(int(ox) - r, int(ox) + r) for j in range(int(oy) - r, int(oy) + r)
                if lo <= (i + 0.5 - ox) ** 2 + (j + 0.5 - oy) ** 2 <= hi}
    return cover


def v_path(points, width):
    """thick_path(): points within width/2 of the polyline."""
    def cover(k):
        shape = set()
        r = width / 2.0 * k
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            ax, ay, bx, by = ax * k, ay * k, bx * k, by * k
            dx, dy = bx - ax, by - ay
            length2 = dx * dx + dy * dy or 1e-9
            for i in range(int(min(ax, bx) - r) - 1, int(max(ax, bx) + r) + 2):
                for j in range(int(min(ay, by) - r) - 1, int(max(ay, by) + r) + 2):
                    px, py = i + 0.5, j + 0.5
                    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
                    if (px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2 <= r * r:
                        shape.add((i, j))
        return shape
    return cover


def v_union(*shapes):
    return lambda k: set().union(*(shape(k) for shape in shapes))


def v_minus(a, b):
    return lambda k: a(k) - b(k)


def v_shifted(shape, dx, dy):
    return lambda k: {(i + dx * k, j + dy * k) for i, j in shape(k)}


def edge(pixels, width):
    """The pixels of a shape within width grid pixels of its outside: peeled layer by layer,
    alternating 4- and 8-neighbourhoods so the edge keeps about the same width all round."""
    inner = set(pixels)
    for layer in range(width):
        steps = ((1, 0), (-1, 0), (0, 1), (0, -1))
        if layer % 2:
            steps += ((1, 1), (1, -1), (-1, 1), (-1, -1))
        inner = {(i, j) for i, j in inner if all((i + a, j + b) in inner for a, b in steps)}
    return pixels - inner


def v_shaded_box(x0, y0, x1, y1):
    return [
        ('fill', v_rect(x0, y0, x1, y1), LIGHT_GREY),
        ('fill', v_union(v_rect(x0 + 1, y0 + 1, x1 - 1, y0 + 1),
                         v_rect(x0 + 1, y0 + 1, x0 + 1, y1 - 1)), WHITE),
        ('fill', v_union(v_rect(x0 + 1, y1 - 1, x1 - 1, y1 - 1),
                         v_rect(x1 - 1, y0 + 1, x1 - 1, y1 - 1)), DARK_GREY),
        ('outline', v_rect(x0, y0, x1, y1), BLACK),
    ]


def picture_plugs():
    arc = [(7.5, 19)]
    for i in range(0, 19):
        a = math.pi * i / 18
        arc.append((16 - 8.5 * math.cos(a), 22 + 6.5 * math.sin(a)))
    arc.append((24.5, 19))
    ops = [('fill', v_path(arc, 3.2), DARK_GREY), ('outline', v_path(arc, 3.2), BLACK)]
    for x0 in (5, 22):
        ops += [('fill', v_rect(x0, 17, x0 + 5, 20), DARK_GREY),
                ('outline', v_rect(x0, 17, x0 + 5, 20), BLACK)]
    ops += v_shaded_box(1, 5, 12, 17)
    for y0 in (7, 13):
        prong = v_rect(13, y0, 18, y0 + 2)
        ops += [('fill', prong, LIGHT_GREY), ('outline', prong, BLACK),
                ('fill', v_rect(14, y0 + 1, 14, y0 + 1), WHITE)]
    ops += v_shaded_box(20, 5, 30, 17)
    for y0 in (7, 13):
        ops.append(('fill', v_rect(20, y0, 22, y0 + 2), BLACK))
    return ops


def picture_key():
    key = v_union(v_ring(9, 11, 7.2, 3.0), v_rect(15, 9, 29, 13),
                  v_rect(20, 14, 22, 17), v_rect(25, 14, 28, 19))
    return [
        ('fill', v_minus(v_shifted(key, 2, 2), key), DARK_GREY),
        ('fill', key, YELLOW),
        ('outline', key, DARK_YELLOW),
        ('fill', v_union(v_path([(5.5, 7.5), (7.5, 5.5)], 1.1), v_rect(17, 10, 26, 10)), WHITE),
    ]


def render(ops, size):
    """The picture at size x size as rows of (r, g, b, a), top row first."""
    # Each output pixel is ss x ss grid pixels, with a whole number k of grid pixels per unit.
    ss = 1
    while size * ss < 512 or size * ss % 32:
        ss += 1
    k = size * ss // 32
    # Outlines one output pixel wide at 32 and below, growing slower than the picture above.
    outline = max(ss, round(ss * 0.75 * size / 32))
    grid = {}
    for op, shape, colour in ops:
        pixels = shape(k)
        if op == 'outline':
            pixels = edge(pixels, outline)
        for p in pixels:
            grid[p] = colour
    rows = []
    area = ss * ss
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0
            for j in range(y * ss, y * ss + ss):
                for i in range(x * ss, x * ss + ss):
                    colour = grid.get((i, j))
                    if colour is not None:
                        cr, cg, cb = PALETTE[colour]
                        r, g, b, a = r + cr, g + cg, b + cb, a + 1
            # Straight (not premultiplied) colour of the covered part, alpha by coverage.
            alpha = (a * 255 + area // 2) // area
            row.append((r // a, g // a, b // a, alpha) if a else (0, 0, 0, 0))
        rows.append(row)
    return rows


def bgra_image(rows):
    """A 32-bit icon image: BITMAPINFOHEADER, BGRA rows and the AND mask, bottom row first."""
    size = len(rows)
    mask_stride = (size + 31) // 32 * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = 0
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
            bits = bits << 1 | (1 if a == 0 else 0)
        mask += (bits << (mask_stride * 8 - size)).to_bytes(mask_stride, 'big')
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def png_image(rows):
    size = len(rows)
    raw = b''.join(b'\0' + b''.join(bytes(p) for p in row) for row in rows)

    def chunk(kind, data):
        crc = zlib.crc32(kind + data)
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', crc)
    header = struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0)  # 8 bits per channel, RGBA
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header)
            + chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def ico_file(images):
    """images: (width, colours, bits per pixel, bytes) in directory order."""
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for width, colours, bpp, data in images:
        side = width % 256  # 0 stands for 256
        directory += struct.pack('<BBBBHHII', side, side, colours, 0, 1, bpp, len(data), offset)
        offset += len(data)
    return directory + b''.join(data for _, _, _, data in images)


def icon(canvas, ops):
    images = [(SIZE, 16, 4, sixteen_colour_image(canvas))]
    images += [(size, 0, 32, bgra_image(render(ops, size))) for size in TRUE_COLOUR_SIZES]
    images += [(size, 0, 32, png_image(render(ops, size))) for size in PNG_SIZES]
    return ico_file(images)


def sixteen_colour_image(canvas):
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
    return image


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    (out / 'Marlox.ico').write_bytes(icon(draw_plugs(), picture_plugs()))
    (out / 'Protected.ico').write_bytes(icon(draw_key(), picture_key()))


if __name__ == '__main__':
    main()
