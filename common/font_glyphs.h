#pragma once
// The 256-glyph bitmap font of the drawn windows, indexed by the
// Windows-1251 code: 12 rows of 2 bytes, bottom row first, most significant
// bit leftmost, in a 16 x 12 cell with the ink in columns 0..6.
#include <cstdint>

constexpr int kGlyphRows = 12;
constexpr int kGlyphBytes = 24;
extern const uint8_t kFontGlyphs[256][kGlyphBytes];

// Pixels the raster position moves right after the glyph.
int GlyphAdvance(uint8_t code);
