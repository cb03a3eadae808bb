// The bitmap font's table: the label glyphs' fixed bytes, the cell layout every glyph keeps, and the advances.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/font_glyphs.h"

namespace {

uint8_t Code(const char* oneChar) { return static_cast<uint8_t>(oneChar[0]); }

// First byte of a glyph's row (row 0 is the bottom).
uint8_t Row(uint8_t code, int row) { return kFontGlyphs[code][2 * row]; }

bool InkInRows(uint8_t code, int from, int to) {
    for (int row = from; row <= to; ++row)
        if (Row(code, row) != 0) return true;
    return false;
}

int Advance(const char* text) {
    int sum = 0;
    for (const char* p = text; *p; ++p) sum += GlyphAdvance(static_cast<uint8_t>(*p));
    return sum;
}

TEST(FontGlyphs, LabelGlyphsKeepTheirBytes) {
    struct Given { const char* ch; uint8_t rows[kGlyphRows]; };
    const Given given[] = {
        {" ", {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {"0", {0x00, 0x00, 0x70, 0x88, 0xC8, 0xA8, 0x98, 0x88, 0x70, 0x00, 0x00, 0x00}},
        {"1", {0x00, 0x00, 0x7C, 0x10, 0x10, 0x10, 0x10, 0x50, 0x30, 0x00, 0x00, 0x00}},
        {"2", {0x00, 0x00, 0x7C, 0x20, 0x10, 0x08, 0x04, 0x44, 0x38, 0x00, 0x00, 0x00}},
        {"3", {0x00, 0x00, 0x70, 0x08, 0x08, 0x30, 0x08, 0x08, 0x70, 0x00, 0x00, 0x00}},
        {"4", {0x00, 0x00, 0x08, 0x08, 0xFC, 0x88, 0x48, 0x28, 0x18, 0x00, 0x00, 0x00}},
        {"5", {0x00, 0x00, 0x70, 0x08, 0x08, 0x70, 0x40, 0x40, 0x78, 0x00, 0x00, 0x00}},
        {"6", {0x00, 0x00, 0x38, 0x44, 0x44, 0x78, 0x40, 0x60, 0x38, 0x00, 0x00, 0x00}},
        {"7", {0x00, 0x00, 0x20, 0x10, 0x10, 0x08, 0x08, 0x04, 0x7C, 0x00, 0x00, 0x00}},
        {"8", {0x00, 0x00, 0x38, 0x44, 0x44, 0x38, 0x68, 0x44, 0x3C, 0x00, 0x00, 0x00}},
        {"9", {0x00, 0x00, 0x70, 0x08, 0x04, 0x3C, 0x44, 0x44, 0x38, 0x00, 0x00, 0x00}},
        {"В", {0x00, 0x00, 0x78, 0x44, 0x44, 0x78, 0x44, 0x44, 0x78, 0x00, 0x00, 0x00}},
        {"к", {0x00, 0x00, 0x48, 0x50, 0x70, 0x60, 0x50, 0x58, 0x00, 0x00, 0x00, 0x00}},
    };
    for (const Given& g : given)
        for (int row = 0; row < kGlyphRows; ++row)
            EXPECT_EQ(Row(Code(g.ch), row), g.rows[row]) << "'" << g.ch << "' row " << row;

    const uint8_t one[kGlyphBytes] = {0x00, 0x00, 0x00, 0x00, 0x7C, 0x00, 0x10, 0x00, 0x10, 0x00, 0x10, 0x00,
                                      0x10, 0x00, 0x50, 0x00, 0x30, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(std::memcmp(kFontGlyphs['1'], one, kGlyphBytes), 0);
}

TEST(FontGlyphs, EveryGlyphStaysInColumnsZeroToSix) {
    for (int code = 0; code < 256; ++code)
        for (int row = 0; row < kGlyphRows; ++row) {
            EXPECT_EQ(kFontGlyphs[code][2 * row + 1], 0) << code << " row " << row;
            EXPECT_EQ(Row(code, row) & 0x01, 0) << code << " row " << row;
        }
}

TEST(FontGlyphs, ExactlyTheBlankCodesAreBlank) {
    // Everything else has to show something: a text never silently loses a character.
    const uint8_t blanks[] = {0, 9, 10, 13, 28, 29, 30, 31, 32, 160};
    for (int code = 0; code < 256; ++code) {
        const bool blank = std::memchr(blanks, code, sizeof blanks) != nullptr;
        EXPECT_EQ(InkInRows(code, 0, kGlyphRows - 1), !blank) << code;
    }
}

TEST(FontGlyphs, CapitalsAndDigitsStandOnTheBaseline) {
    // Rows 2..8, touching both; only the breve of Й rises and Д, Ц, Щ descend.
    std::string tall = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                       "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";
    for (unsigned char c : tall) {
        const bool rises = c == Code("Й");
        const bool descends = c == Code("Д") || c == Code("Ц") || c == Code("Щ");
        EXPECT_NE(Row(c, 2), 0) << int(c);
        EXPECT_NE(Row(c, 8), 0) << int(c);
        EXPECT_EQ(InkInRows(c, 9, 11), rises) << int(c);
        EXPECT_EQ(InkInRows(c, 0, 1), descends) << int(c);
    }
}

TEST(FontGlyphs, LowerCaseSitsOnTheBaselineUnderRowTen) {
    std::string small = "abcdefghijklmnopqrstuvwxyzабвгдежзийклмнопрстуфхцчшщъыьэюяё";
    for (unsigned char c : small) {
        EXPECT_NE(Row(c, 7), 0) << int(c);  // every lower-case letter reaches the x-height
        EXPECT_FALSE(InkInRows(c, 10, 11)) << int(c);
    }
    for (const char* descender : {"g", "j", "p", "q", "y", "д", "р", "у", "ф", "ц", "щ"})
        EXPECT_TRUE(InkInRows(Code(descender), 0, 1)) << descender;
}

TEST(FontGlyphs, Advances) {
    for (int code = 0; code < 256; ++code) {
        int expected = 6;
        if (code == ',' || code == '-' || code == '.') expected = 3;
        if (code == Code("м") || code == Code("ш") || code == Code("щ")) expected = 9;
        EXPECT_EQ(GlyphAdvance(static_cast<uint8_t>(code)), expected) << code;
    }
    EXPECT_EQ(Advance("20 кВ"), 30);
    EXPECT_EQ(Advance("1,5"), 15);
}

}  // namespace
