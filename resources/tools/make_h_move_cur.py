#!/usr/bin/env python3
"""Draws the preview window's drag cursor and writes it as a Windows .CUR file.

The cursor is a vertical double arrow (the paper only moves up and down),
black with a white outline, 32 x 32 pixels, 1 bit per pixel with an AND mask,
hot spot in the middle. Usage: make_h_move_cur.py [OUT]  (default: the
resource folder's H_MOVE.CUR beside this script's parent).
"""
import os
import struct
import sys

SIZE = 32
HOT_X, HOT_Y = 15, 16


def arrow_shape():
    """Set of (x, y) pixels of the black arrow, y growing downwards."""
    black = set()
    cx = 15
    # Arrow heads: triangles 11 rows high, 1 to 21 pixels wide.
    for i in range(10):
        half = i
        for x in range(cx - half, cx + half + 1):
            black.add((x, 2 + i))          # upper head, tip at y = 2
            black.add((x, 30 - i))         # lower head, tip at y = 30
    # Shaft, three pixels wide.
    for y in range(11, 21):
        for x in range(cx - 1, cx + 2):
            black.add((x, y))
    # A short cross bar marks the grip in the middle.
    for y in range(15, 18):
        for x in range(cx - 5, cx + 6):
            black.add((x, y))
    return black


def outline(black):
    white = set()
    for (x, y) in black:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                p = (x + dx, y + dy)
                if p not in black and 0 <= p[0] < SIZE and 0 <= p[1] < SIZE:
                    white.add(p)
    return white


def cur_bytes():
    black = arrow_shape()
    white = outline(black)
    row_bytes = SIZE // 8          # 4 bytes: already a multiple of four
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):    # bitmaps are stored bottom-up
        xrow = bytearray(row_bytes)
        mrow = bytearray(row_bytes)
        for x in range(SIZE):
            bit = 0x80 >> (x % 8)
            if (x, y) in white:
                xrow[x // 8] |= bit    # colour 1 = white, opaque
            elif (x, y) not in black:
                mrow[x // 8] |= bit    # transparent: AND 1, XOR 0
        xor += xrow
        mask += mrow
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0,
                         len(xor) + len(mask), 0, 0, 2, 0)
    palette = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    icondir = struct.pack('<HHH', 0, 2, 1)             # type 2 = cursor
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, HOT_X, HOT_Y,
                        len(image), 6 + 16)
    return icondir + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', '资源', 'H_MOVE.CUR')
    with open(out, 'wb') as f:
        f.write(cur_bytes())


if __name__ == '__main__':
    main()
