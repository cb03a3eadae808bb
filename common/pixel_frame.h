#pragma once
// Where a frame's points and texts land on pixels when it is painted into a
// bitmap instead of an OpenGL context: the same projection, the same bitmap
// font, pixel for pixel, so a bitmap can be shown and copied as it is.
#include <cstdint>

#include "common/draw_list.h"

// A frame's projection (an Ortho op) over a bitmap of width x height pixels.
struct PixelViewport {
    float left, right, bottom, top;
    int width, height;
};

// Column and row of a pixel; row 0 is the top row, as in a top-down bitmap.
struct PixelPoint {
    int x, y;
};

// The pixel that holds point (x, y) of the projection, as OpenGL rasterises
// it (x = left is column 0, y = bottom is the last row). Far points are
// clamped to a few widths beyond the bitmap, so the result always fits an int.
PixelPoint ToPixel(const PixelViewport& view, float x, float y);

// The colour value 0x00BBGGRR that ColorFromRef turned into c, channels
// clamped to 0..255.
uint32_t RefFromColor(const DrawColor& c);

// A colour value as a 32-bit pixel of a bitmap (0x00RRGGBB).
inline uint32_t PixelFromRef(uint32_t ref) {
    return ((ref & 0xFF) << 16) | (ref & 0xFF00) | ((ref >> 16) & 0xFF);
}

// Paints text (Windows-1251) with the drawn windows' bitmap font into a
// top-down bitmap of 32-bit pixels, starting at the raster position at:
// above puts the glyphs' bottom two rows above it (DrawTextAbove), else they
// hang below it (DrawTextBelow). Pixels outside the bitmap are left alone.
// Returns the raster column after the text, where following text goes on.
int PaintText(uint32_t* pixels, int width, int height, PixelPoint at, const char* text, uint32_t ref, bool above);
