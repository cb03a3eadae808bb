#!/usr/bin/env python3
"""Draws the two 32x32, 16-colour window icons: a test cell between two
electrodes with a spark. Run from this folder to rewrite small.ico and main.ico."""
import struct

# The 16 colours of the standard VGA palette, as RGB.
PALETTE = [(0, 0, 0), (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 0), (128, 0, 128),
           (128, 128, 0), (192, 192, 192), (128, 128, 128), (0, 0, 255), (0, 255, 0),
           (0, 255, 255), (255, 0, 0), (255, 0, 255), (255, 255, 0), (255, 255, 255)]
OLIVE, GREY, DARK_GREY, CYAN, YELLOW, WHITE = 6, 7, 8, 11, 14, 15


def draw(liquid):
    """Returns 32 rows of 32 palette indices (None = transparent), top row first."""
    img = [[None] * 32 for _ in range(32)]
    for y in range(6, 30):          # glass vessel walls and bottom
        img[y][5] = img[y][26] = DARK_GREY
    for x in range(5, 27):
        img[29][x] = DARK_GREY
    for y in range(14, 29):         # liquid
        for x in range(6, 26):
            img[y][x] = liquid
    for y in range(2, 19):          # electrodes from above and below
        for x in range(14, 18):
            img[y][x] = GREY
    for y in range(23, 29):
        for x in range(14, 18):
            img[y][x] = GREY
    for y, x in [(19, 17), (20, 15), (21, 16), (22, 14)]:  # the spark
        for dx in range(3):
            img[y][x + dx - 1] = WHITE if dx == 1 else YELLOW
    return img


def ico(img):
    xor = bytearray()
    andmask = bytearray()
    for row in reversed(img):       # bitmaps are stored bottom-up
        for x in range(0, 32, 2):
            a, b = (c if c is not None else 0 for c in row[x:x + 2])
            xor.append(a << 4 | b)
        bits = 0
        for x in range(32):
            bits = bits << 1 | (1 if row[x] is None else 0)
        andmask += struct.pack('>I', bits)
    header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, len(xor) + len(andmask), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    data = header + palette + bytes(xor) + bytes(andmask)
    return struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(data), 22) + data


if __name__ == '__main__':
    with open('small.ico', 'wb') as f:
        f.write(ico(draw(CYAN)))
    with open('main.ico', 'wb') as f:
        f.write(ico(draw(OLIVE)))
