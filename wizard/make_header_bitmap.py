#!/usr/bin/env python3
"""Draws the wizard's header picture (bitmap 141): a small player with a
display and an arrow pointing into it, as a 24-bit BMP of 56 x 38 pixels.

    make_header_bitmap.py OUTPUT.bmp
"""
import struct
import sys

W, H = 56, 38
WHITE = (255, 255, 255)
BODY = (52, 84, 140)
EDGE = (30, 50, 90)
SCREEN = (170, 220, 235)
ARROW = (230, 120, 30)


def draw():
    px = [[WHITE for _ in range(W)] for _ in range(H)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(H, y1)):
            for x in range(max(0, x0), min(W, x1)):
                px[y][x] = colour

    # The player: a body with an outline, a display and two buttons.
    rect(24, 3, 50, 35, EDGE)
    rect(25, 4, 49, 34, BODY)
    rect(28, 7, 46, 19, SCREEN)
    rect(30, 24, 35, 29, SCREEN)
    rect(39, 24, 44, 29, SCREEN)
    # The arrow: a shaft and a head pointing at the player.
    rect(3, 16, 15, 21, ARROW)
    for i in range(7):
        rect(15 + i, 12 + i, 16 + i, 25 - i, ARROW)
    return px


def write(path, px):
    row_size = (W * 3 + 3) // 4 * 4
    data = bytearray()
    for y in range(H - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for (r, g, b) in px[y]:
            row += bytes((b, g, r))
        row += bytes(row_size - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    write(sys.argv[1], draw())
