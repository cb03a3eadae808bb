// The frame arithmetic of drawing into a bitmap: projection to pixels and
// the bitmap font's glyphs.
#include "common/pixel_frame.h"

#include <algorithm>
#include <cmath>

#include "common/font_glyphs.h"

namespace {

constexpr int kCellWidth = 16;
// Where a glyph's bottom row lies relative to the raster row, as the font's
// display lists place their bitmaps.
constexpr int kAboveOffset = 2;
constexpr int kBelowOffset = -kGlyphRows;

int Clamped(double value, int size) {
    const double limit = 4.0 * std::max(size, 1);
    if (!(value > -limit)) return static_cast<int>(-limit);  // also NaN
    if (value > limit) return static_cast<int>(limit);
    return static_cast<int>(std::floor(value));
}

}  // namespace

PixelPoint ToPixel(const PixelViewport& view, float x, float y) {
    const double spanX = static_cast<double>(view.right) - view.left;
    const double spanY = static_cast<double>(view.top) - view.bottom;
    const double wx = spanX != 0 ? (x - view.left) / spanX * view.width : 0;
    const double wy = spanY != 0 ? (y - view.bottom) / spanY * view.height : 0;
    const int column = Clamped(wx, view.width);
    const int rowFromBottom = Clamped(wy, view.height);
    return {column, view.height - 1 - rowFromBottom};
}

uint32_t RefFromColor(const DrawColor& c) {
    auto channel = [](float v) {
        const float scaled = std::round(v * 256.0f);
        return static_cast<uint32_t>(std::min(255.0f, std::max(0.0f, scaled)));
    };
    return channel(c.r) | (channel(c.g) << 8) | (channel(c.b) << 16);
}

int PaintText(uint32_t* pixels, int width, int height, PixelPoint at, const char* text, uint32_t ref, bool above) {
    const uint32_t ink = PixelFromRef(ref);
    // Rows counted from the bottom, as the glyph table stores them.
    const int baseFromBottom = (height - 1 - at.y) + (above ? kAboveOffset : kBelowOffset);
    int x = at.x;
    for (const char* p = text; *p; ++p) {
        const auto code = static_cast<uint8_t>(*p);
        const uint8_t* glyph = kFontGlyphs[code];
        for (int row = 0; row < kGlyphRows; ++row) {
            const int y = height - 1 - (baseFromBottom + row);
            if (y < 0 || y >= height) continue;
            for (int column = 0; column < kCellWidth; ++column) {
                if (!(glyph[2 * row + column / 8] & (0x80 >> (column % 8)))) continue;
                const int px = x + column;
                if (px >= 0 && px < width) pixels[static_cast<size_t>(y) * width + px] = ink;
            }
        }
        x += GlyphAdvance(code);
    }
    return x;
}
