#!/usr/bin/env python3
"""Draws Linkscope's two tray icons and writes them as .ico files (16, 32 and 48 pixels,
32-bit colour with alpha).

The associated icon is four rising signal bars in green; the not-associated icon shows the
same bars in grey with a red disc and a white cross over the lower right. Each pixel is
sampled 6x6 times so the shapes stay smooth at tray size. The files are committed; run this
again only to change the drawing:

    python3 tools/make_icons.py res/icons
"""
import struct
import sys
from pathlib import Path

SIZES = (16, 32, 48)
SUB = 6

# Bars: (left, top) in unit coordinates, all reaching down to the same baseline. The edges fall
# on whole pixels at 16, 32 and 48 pixels (multiples of 1/16).
BAR_WIDTH = 3 / 16
BASELINE = 15 / 16
BARS = [((1 + 4 * i) / 16 - 1 / 16, top / 16) for i, top in enumerate((10, 7, 4, 1))]


def in_round_rect(x, y, left, top, right, bottom, radius):
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def bar_colour(x, y, fill, edge, stroke):
    for left, top in BARS:
        right = left + BAR_WIDTH
        if in_round_rect(x, y, left, top, right, BASELINE, 0.03):
            inner = stroke == 0.0 or in_round_rect(x, y, left + stroke, top + stroke,
                                                   right - stroke, BASELINE - stroke, 0.02)
            return fill if inner else edge
    return None


def size_is_small(stroke):
    return stroke == 0.0


def cross_colour(x, y, stroke):
    cx, cy, r = 0.70, 0.70, 0.29
    d2 = (x - cx) ** 2 + (y - cy) ** 2
    if d2 > r * r:
        return None
    if stroke and d2 > (r - stroke) ** 2:
        return (120, 20, 20, 255)
    # A white cross inside the disc.
    u, v = x - cx, y - cy
    arm = 0.16
    half = 0.05 if size_is_small(stroke) else 0.035
    if abs(u) <= arm and abs(v) <= arm and (abs(u - v) <= half * 1.41 or abs(u + v) <= half * 1.41):
        return (255, 255, 255, 255)
    return (211, 47, 47, 255)


def draw(size, associated):
    # One pixel of outline at 32 pixels and more; at 16 an outline would drown the bars.
    stroke = 1.0 / size if size >= 32 else 0.0
    if associated:
        fill, edge = (38, 170, 38, 255), (18, 82, 18, 255)
    else:
        fill, edge = (150, 150, 150, 255), (72, 72, 72, 255)
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(SUB):
                for sx in range(SUB):
                    x = (px + (sx + 0.5) / SUB) / size
                    y = (py + (sy + 0.5) / SUB) / size
                    colour = None
                    if not associated:
                        colour = cross_colour(x, y, stroke)
                    if colour is None:
                        colour = bar_colour(x, y, fill, edge, stroke)
                    if colour is not None:
                        a = colour[3]
                        acc[0] += colour[0] * a
                        acc[1] += colour[1] * a
                        acc[2] += colour[2] * a
                        acc[3] += a
            n = SUB * SUB
            alpha = acc[3] / n
            if acc[3]:
                r, g, b = (acc[i] / acc[3] for i in range(3))
            else:
                r = g = b = 0
            row.append((round(r), round(g), round(b), round(alpha)))
        pixels.append(row)
    return pixels


def dib(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(colour) + bytes(mask)


def write_ico(path, associated):
    images = [dib(draw(size, associated)) for size in SIZES]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    path.write_bytes(bytes(out))


def main():
    folder = Path(sys.argv[1] if len(sys.argv) > 1 else 'res/icons')
    folder.mkdir(parents=True, exist_ok=True)
    write_ico(folder / 'associated.ico', True)
    write_ico(folder / 'not-associated.ico', False)


if __name__ == '__main__':
    main()
