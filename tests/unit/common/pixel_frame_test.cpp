// A frame painted into a bitmap: points land on the pixels OpenGL would
// light, colours come back as the values they were given, texts in the font.
#include <gtest/gtest.h>

#include <vector>

#include "common/color.h"
#include "common/font_glyphs.h"
#include "common/pixel_frame.h"

namespace {

TEST(PixelFrame, ProjectionMapsCornersAndCentreLikeOpenGl) {
    const PixelViewport view{-10, 30, 0, 100, 200, 50};  // 0.2 units a column, 2 a row
    struct Case {
        float x, y;
        int column, row;
    } cases[] = {
        {-10, 0, 0, 49},      // bottom-left corner: first column, last row
        {29.99f, 99.9f, 199, 0},  // just inside the top-right corner
        {10, 50, 100, 24},    // centre
        {-9.99f, 1.99f, 0, 49},   // still in the first pixel
        {-9.7f, 2.5f, 1, 48},  // one pixel on in each direction
    };
    for (const Case& c : cases) {
        const PixelPoint p = ToPixel(view, c.x, c.y);
        EXPECT_EQ(c.column, p.x) << c.x << "," << c.y;
        EXPECT_EQ(c.row, p.y) << c.x << "," << c.y;
    }
}

TEST(PixelFrame, FarAndDegeneratePointsStayInRange) {
    const PixelViewport view{0, 1, 0, 1, 100, 100};
    const PixelPoint far = ToPixel(view, 1e30f, -1e30f);
    EXPECT_LE(far.x, 400);
    EXPECT_LE(far.y, 500);
    const PixelPoint flat = ToPixel({5, 5, 3, 3, 100, 100}, 7, 1);  // empty projection divides by nothing
    EXPECT_EQ(0, flat.x);
    EXPECT_EQ(99, flat.y);
}

TEST(PixelFrame, ColourValuesSurviveTheRoundTrip) {
    for (uint32_t ref : {0x000000u, 0xFFFFFFu, 0x802000u, 0xB06020u, 0x2020E0u, 0xD8D8D8u, 0x010203u})
        EXPECT_EQ(ref, RefFromColor(ColorFromRef(ref))) << std::hex << ref;
    EXPECT_EQ(0x0000FFu, RefFromColor({1.3f, -0.1f, 0, 1}));  // GL clamps what the graphs overdrive
    EXPECT_EQ(0x00123456u, PixelFromRef(0x563412));
}

// Pixels of glyph code at its cell, read back from a painted bitmap.
std::vector<std::pair<int, int>> Ink(const std::vector<uint32_t>& pixels, int width, uint32_t pixel) {
    std::vector<std::pair<int, int>> at;
    for (size_t i = 0; i < pixels.size(); ++i)
        if (pixels[i] == pixel) at.push_back({static_cast<int>(i % width), static_cast<int>(i / width)});
    return at;
}

TEST(PixelFrame, TextSitsAboveOrHangsBelowTheRasterRowInTheFont) {
    constexpr int kWidth = 40, kHeight = 40;
    const uint8_t glyph = static_cast<uint8_t>('E');
    int expectedInk = 0, lowest = -1, highest = -1;
    for (int row = 0; row < kGlyphRows; ++row)
        for (int column = 0; column < 16; ++column)
            if (kFontGlyphs[glyph][2 * row + column / 8] & (0x80 >> (column % 8))) {
                ++expectedInk;
                if (lowest < 0) lowest = row;
                highest = row;
            }
    ASSERT_GT(expectedInk, 0);
    for (bool above : {true, false}) {
        std::vector<uint32_t> pixels(kWidth * kHeight, 0);
        const int next = PaintText(pixels.data(), kWidth, kHeight, {5, 20}, "E", 0x0000FF, above);
        EXPECT_EQ(5 + GlyphAdvance(glyph), next);
        const auto ink = Ink(pixels, kWidth, 0xFF0000);
        ASSERT_EQ(static_cast<size_t>(expectedInk), ink.size()) << above;
        int top = kHeight, bottom = -1;
        for (auto [x, y] : ink) {
            EXPECT_GE(x, 5);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
        // Glyph row 0 lies two rows above the raster row, or twelve below.
        const int rowZero = above ? 20 - 2 : 20 + kGlyphRows;
        EXPECT_EQ(rowZero - lowest, bottom) << above;
        EXPECT_EQ(rowZero - highest, top) << above;
    }
}

TEST(PixelFrame, TextBeyondTheEdgesIsCutNotWrapped) {
    constexpr int kWidth = 10, kHeight = 12;
    std::vector<uint32_t> pixels(kWidth * kHeight + 2 * kWidth, 0);
    // Guard rows before and after the bitmap must stay untouched.
    uint32_t* bitmap = pixels.data() + kWidth;
    PaintText(bitmap, kWidth, kHeight, {-3, 8}, "ЖЖЖ", 0xFFFFFF, true);
    PaintText(bitmap, kWidth, kHeight, {7, 2}, "WW", 0xFFFFFF, false);
    for (int i = 0; i < kWidth; ++i) {
        EXPECT_EQ(0u, pixels[i]);
        EXPECT_EQ(0u, pixels[kWidth * (kHeight + 1) + i]);
    }
    EXPECT_FALSE(Ink(pixels, kWidth, 0xFFFFFF).empty());
}

}  // namespace
