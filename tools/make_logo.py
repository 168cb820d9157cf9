#!/usr/bin/env python3
"""Draws the logo the Info page shows and writes it as a 24-bit .bmp (352 x 96 pixels, the
size of the page's logo area with the dialog font).

A dark blue band fading to teal, the tray icon's four rising signal bars in green on the left
and the product's name in block letters beside them. Each pixel is sampled 4x4 times so the
edges stay smooth. The file is committed; run this again only to change the drawing:

    python3 tools/make_logo.py res/linkscope-logo.bmp
"""
import struct
import sys

WIDTH, HEIGHT, SUB = 352, 96, 4

# 5 x 7 block letters, one string per row, "#" for ink.
GLYPHS = {
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "I": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "C": [".####", "#....", "#....", "#....", "#....", "#....", ".####"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
}
WORD = "LINKSCOPE"
CELL = 4            # pixels per glyph dot
TEXT_LEFT, TEXT_TOP = 108, 32
BARS = [(18 + 17 * i, 70 - 14 * (i + 1), 12) for i in range(4)]  # left, top, width
BASELINE = 74


def ink(x, y):
    """The colour at (x, y) in pixel units, or None for the background."""
    for left, top, width in BARS:
        if left <= x < left + width and top <= y < BASELINE:
            return (0x4C, 0xD9, 0x64)
    col = (x - TEXT_LEFT) / CELL
    row = (y - TEXT_TOP) / CELL
    if 0 <= row < 7 and col >= 0:
        glyph, dot = divmod(int(col), 6)
        if glyph < len(WORD) and dot < 5 and GLYPHS[WORD[glyph]][int(row)][dot] == "#":
            return (0xFF, 0xFF, 0xFF)
    return None


def background(x, y):
    t = x / (WIDTH - 1)
    return tuple(round(a + (b - a) * t) for a, b in ((0x12, 0x0E), (0x2A, 0x6E), (0x5C, 0x7A)))


def main(path):
    rows = []
    for y in range(HEIGHT):
        row = bytearray()
        for x in range(WIDTH):
            acc = [0, 0, 0]
            for sy in range(SUB):
                for sx in range(SUB):
                    px, py = x + (sx + 0.5) / SUB, y + (sy + 0.5) / SUB
                    c = ink(px, py) or background(px, py)
                    for i in range(3):
                        acc[i] += c[i]
            r, g, b = (round(v / SUB / SUB) for v in acc)
            row += bytes((b, g, r))
        row += b"\0" * ((4 - len(row) % 4) % 4)
        rows.append(bytes(row))
    pixels = b"".join(reversed(rows))  # bottom-up
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/linkscope-logo.bmp")
