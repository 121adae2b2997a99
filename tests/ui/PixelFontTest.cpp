// The pixel font all captions and image fonts are drawn from.

#include "assets/PixelFont.h"
#include "assets/Images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace pixelfont;

std::vector<bool> bitmap(char c) {
    std::vector<bool> bits;
    for (int row = 0; row < GLYPH_ROWS; ++row) {
        for (int column = 0; column < glyphColumns(c); ++column) {
            bits.push_back(glyphPixel(c, column, row));
        }
    }
    return bits;
}

TEST(PixelFont, HasEveryGlyphOfTheImageFonts) {
    for (const std::string& glyphs :
         {std::string(SMALL_FONT_GLYPHS), std::string(LARGE_FONT_GLYPHS)}) {
        for (char c : glyphs) {
            EXPECT_TRUE(hasGlyph(c)) << c;
        }
    }
    EXPECT_EQ(supportedCharacters().size(), std::string(LARGE_FONT_GLYPHS).size());
}

TEST(PixelFont, HasNoLowerCaseOrOtherGlyphs) {
    for (char c : std::string("abz#@*+=?\"'\t")) {
        EXPECT_FALSE(hasGlyph(c)) << c;
        EXPECT_EQ(glyphColumns(c), 0);
        EXPECT_FALSE(glyphPixel(c, 0, 0));
    }
}

TEST(PixelFont, GlyphsAreNarrowEnoughAndDrawSomething) {
    for (char c : supportedCharacters()) {
        EXPECT_GE(glyphColumns(c), 1) << c;
        EXPECT_LE(glyphColumns(c), MAX_GLYPH_COLUMNS) << c;
        const std::vector<bool> bits = bitmap(c);
        const bool any = std::find(bits.begin(), bits.end(), true) != bits.end();
        EXPECT_EQ(any, c != ' ') << c;
    }
}

TEST(PixelFont, DigitsShareOneWidthSoCountersDoNotJitter) {
    for (char c : std::string("0123456789")) {
        EXPECT_EQ(glyphColumns(c), glyphColumns('0')) << c;
    }
}

TEST(PixelFont, NoTwoGlyphsLookTheSame) {
    std::set<std::pair<int, std::vector<bool>>> seen;
    for (char c : supportedCharacters()) {
        EXPECT_TRUE(seen.insert({glyphColumns(c), bitmap(c)}).second) << c;
    }
}

TEST(PixelFont, PixelsOutsideTheGlyphAreClear) {
    EXPECT_FALSE(glyphPixel('A', -1, 3));
    EXPECT_FALSE(glyphPixel('A', 5, 3));
    EXPECT_FALSE(glyphPixel('A', 0, -1));
    EXPECT_FALSE(glyphPixel('A', 0, GLYPH_ROWS));
    EXPECT_TRUE(glyphPixel('A', 0, 3));
    EXPECT_TRUE(glyphPixel('I', 1, 3));
    EXPECT_FALSE(glyphPixel('I', 3, 3)); // I is three columns wide
}

TEST(PixelFont, TextColumnsCountsGlyphsAndGaps) {
    EXPECT_EQ(textColumns(""), 0);
    EXPECT_EQ(textColumns("A"), 5);
    EXPECT_EQ(textColumns("AB"), 11);
    EXPECT_EQ(textColumns("AB", 0), 10);
    EXPECT_EQ(textColumns("A.I"), 5 + 1 + 1 + 1 + 3);
    EXPECT_EQ(textColumns("AaB"), 11); // no glyph, no width
}

} // namespace
