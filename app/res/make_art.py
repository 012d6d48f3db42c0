#!/usr/bin/env python3
"""Draws the track manager's icon and bitmaps and writes them beside this script.

    pellmark.ico         application icon (resource 128): 16, 32 and 48 pixels, 32-bit with alpha
    tree_images.bmp      album/track list images (resource 135): five 16 x 16 images in a row on the
                         mask colour 0x00FF00: closed album, open album, track, and closed and open
                         album placeholders
    progress_1.bmp       progress window, first picture (resource 147), 34 x 34: a track going to the player
    progress_2.bmp       progress window, second picture (resource 146), 34 x 34: the player, done

The progress pictures are 8-bit bitmaps on light grey (192, 192, 192), which the program loads with
LR_LOADMAP3DCOLORS so that the background becomes the dialog's own face colour.
Run it again after changing a drawing; the files it writes are committed.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# ---- A small canvas ---------------------------------------------------------------------------


class Canvas:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill for _ in range(w)] for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Fills [x0, x1] x [y0, y1], inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def polygon(self, points, c):
        """Fills a polygon by the even-odd rule at pixel centres."""
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            yc = y + 0.5
            xs = []
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya <= yc < yb) or (yb <= yc < ya):
                    xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for xa, xb in zip(xs[0::2], xs[1::2]):
                for x in range(int(round(xa)), int(round(xb))):
                    self.set(x, y, c)

    def blit(self, other, ox, oy, transparent=None):
        for y in range(other.h):
            for x in range(other.w):
                c = other.px[y][x]
                if c != transparent:
                    self.set(ox + x, oy + y, c)


# ---- Drawings ---------------------------------------------------------------------------------

NAVY = (28, 52, 110)
BLUE = (52, 104, 196)
SKY = (170, 220, 245)
WHITE = (255, 255, 255)
GREY = (150, 150, 150)
DARK = (60, 60, 60)
YELLOW = (240, 200, 70)
AMBER = (200, 150, 30)
GREEN = (40, 160, 60)
RED = (200, 60, 50)
CLEAR = None


def note(cv, x, y, s, c):
    """A quaver with its head at (x, y), scaled by s (1 = 16-pixel size)."""
    cv.disc(x, y, 2.2 * s, c)
    cv.rect(int(x + 1.2 * s), int(y - 7 * s), int(x + 2.1 * s), int(y), c)
    cv.polygon([(x + 1.2 * s, y - 7 * s), (x + 5 * s, y - 4.5 * s), (x + 5 * s, y - 3 * s),
                (x + 1.2 * s, y - 5.2 * s)], c)


def player(size):
    """The portable player: a rounded body, a screen with a note, a wheel."""
    s = size / 32.0
    cv = Canvas(size, size, CLEAR)
    x0, x1 = int(7 * s), int(24 * s)
    cv.rect(x0 + 1, 1, x1 - 1, size - 2, NAVY)
    cv.rect(x0, 2, x1, size - 3, NAVY)
    cv.rect(int(9 * s), int(4 * s), int(22 * s), int(14 * s), SKY)
    note(cv, 13.5 * s, 11.5 * s, s * 0.8, BLUE)
    cv.disc(15.8 * s, 22.5 * s, 5.2 * s, GREY)
    cv.disc(15.8 * s, 22.5 * s, 2.0 * s, NAVY)
    return cv


def folder(open_, body, edge):
    cv = Canvas(16, 16, CLEAR)
    cv.rect(1, 3, 6, 4, edge)
    cv.rect(1, 4, 14, 13, edge)
    cv.rect(2, 5, 13, 12, body)
    if open_:
        cv.polygon([(3, 8), (16, 8), (13, 14), (0, 14)], edge)
        cv.polygon([(4, 9), (14.6, 9), (12.4, 13), (1.6, 13)], body)
    return cv


def track_image():
    cv = Canvas(16, 16, CLEAR)
    note(cv, 6, 12, 1.1, BLUE)
    return cv


# ---- Writers ----------------------------------------------------------------------------------


def ico(sizes):
    """ICO with 32-bit BGRA images and their AND masks."""
    images = []
    for size in sizes:
        cv = player(size)
        xor = bytearray()
        for y in reversed(range(size)):
            for x in range(size):
                c = cv.px[y][x]
                xor += bytes([0, 0, 0, 0]) if c is None else bytes([c[2], c[1], c[0], 255])
        row = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(size)):
            bits = bytearray(row)
            for x in range(size):
                if cv.px[y][x] is None:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((size, header + xor + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return out


def bmp24(cv, background):
    w, h = cv.w, cv.h
    row = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(h)):
        line = bytearray()
        for x in range(w):
            c = cv.px[y][x] or background
            line += bytes([c[2], c[1], c[0]])
        pixels += line + bytes(row - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)) + header + pixels


def bmp8(cv, background):
    colours = [background]
    for line in cv.px:
        for c in line:
            if c is not None and c not in colours:
                colours.append(c)
    assert len(colours) <= 256
    w, h = cv.w, cv.h
    row = (w + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(h)):
        line = bytes(colours.index(cv.px[y][x] or background) for x in range(w))
        pixels += line + bytes(row - len(line))
    palette = b"".join(bytes([c[2], c[1], c[0], 0]) for c in colours)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels), 2835, 2835, len(colours), 0)
    offset = 14 + len(header) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + palette + pixels


def progress_picture(second):
    cv = Canvas(34, 34, CLEAR)
    body = player(24)
    cv.blit(body, 12, 5)
    if second:
        # A check mark: the track is on the player.
        cv.polygon([(1, 19), (5, 16), (9, 21), (17, 9), (21, 12), (9, 28)], GREEN)
    else:
        note(cv, 4, 15, 1.0, BLUE)
        cv.polygon([(5, 21), (11, 21), (11, 18), (15, 23), (11, 28), (11, 25), (5, 25)], RED)
    return cv


def main():
    with open(os.path.join(HERE, "pellmark.ico"), "wb") as f:
        f.write(ico([16, 32, 48]))

    strip = Canvas(80, 16, CLEAR)
    images = [folder(False, YELLOW, AMBER), folder(True, YELLOW, AMBER), track_image(),
              folder(False, (210, 210, 210), GREY), folder(True, (210, 210, 210), GREY)]
    for i, image in enumerate(images):
        strip.blit(image, 16 * i, 0)
    with open(os.path.join(HERE, "tree_images.bmp"), "wb") as f:
        f.write(bmp24(strip, (0, 255, 0)))

    face = (192, 192, 192)
    with open(os.path.join(HERE, "progress_1.bmp"), "wb") as f:
        f.write(bmp8(progress_picture(False), face))
    with open(os.path.join(HERE, "progress_2.bmp"), "wb") as f:
        f.write(bmp8(progress_picture(True), face))


if __name__ == "__main__":
    main()
