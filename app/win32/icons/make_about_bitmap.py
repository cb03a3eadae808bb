#!/usr/bin/env python3
"""Draws bitmap 301 of the about box: 177x101 pixels, 24 bits, a test cell
with its two electrodes and a spark in the top-left corner (the labels cover
the rest) on the dialog's own background colour. Run from this folder to
rewrite about.bmp."""
import struct

W, H = 177, 101
BACKGROUND = (255, 128, 64)   # the about box's brush, 0x4080FF
GLASS = (230, 240, 250)
GLASS_EDGE = (90, 90, 110)
OIL = (250, 200, 70)
OIL_DARK = (215, 160, 40)
METAL = (170, 175, 185)
METAL_LIGHT = (225, 228, 235)
METAL_DARK = (95, 100, 110)
SPARK = (255, 255, 255)
SPARK_GLOW = (120, 200, 255)
SHADOW = (205, 95, 45)


def blank():
    return [[BACKGROUND] * W for _ in range(H)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(max(y0, 0), min(y1, H)):
        for x in range(max(x0, 0), min(x1, W)):
            img[y][x] = colour


def electrode(img, x0, x1, y0, y1, tip_at_bottom):
    """A round rod, lit from the left, with a rounded tip."""
    width = x1 - x0
    for y in range(y0, y1):
        for x in range(x0, x1):
            t = (x - x0) / (width - 1)
            img[y][x] = METAL_LIGHT if t < 0.3 else METAL if t < 0.75 else METAL_DARK
    tip = y1 if tip_at_bottom else y0 - 1
    step = 1 if tip_at_bottom else -1
    for k, inset in enumerate((1, 2, 4)):
        rect(img, x0 + inset, tip + step * k, x1 - inset, tip + step * k + 1, METAL)


def draw():
    img = blank()
    # Shadow of the cell, then the glass with its oil.
    rect(img, 16, 58, 78, 61, SHADOW)
    rect(img, 12, 10, 72, 58, GLASS_EDGE)
    rect(img, 14, 12, 70, 56, GLASS)
    for y in range(24, 56):
        rect(img, 14, y, 70, y + 1, OIL if y < 50 else OIL_DARK)
    rect(img, 16, 14, 18, 54, (255, 255, 255))  # highlight on the glass
    # Electrodes with a gap of a few pixels in the oil.
    electrode(img, 36, 48, 2, 32, True)
    electrode(img, 36, 48, 39, 54, False)
    # The spark across the gap.
    for x, y in [(42, 33), (41, 34), (43, 35), (42, 36), (41, 37)]:
        rect(img, x - 2, y, x + 3, y + 1, SPARK_GLOW)
    for x, y in [(42, 33), (41, 34), (43, 35), (42, 36), (41, 37)]:
        img[y][x] = SPARK
    # A base under the cell.
    rect(img, 6, 61, 84, 65, METAL_DARK)
    rect(img, 6, 61, 84, 62, METAL)
    return img


def bmp(img):
    row_size = (W * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(img):  # bitmaps are stored bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(row_size - len(line))
    info = struct.pack('<IiiHHIIiiII', 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


if __name__ == '__main__':
    with open('about.bmp', 'wb') as f:
        f.write(bmp(draw()))
