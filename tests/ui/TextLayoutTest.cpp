// Laying out the panels' text without a window: one pixel per character keeps the widths easy
// to read.

#include "ui/TextLayout.h"

#include <gtest/gtest.h>

namespace {

const TextWidth CHARS = [](const std::string& s) { return static_cast<int>(s.size()); };
const std::string DRAWABLE = " abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.:-";

std::vector<std::string> lay(const std::string& text, int width, std::size_t lines = 100) {
    return layoutText(text, width, lines, CHARS, DRAWABLE);
}

} // namespace

TEST(TextLayout, BreaksAtSpacesKeepsParagraphsAndDropsOuterBlankLines) {
    using L = std::vector<std::string>;
    EXPECT_EQ(lay("the quick brown fox jumps", 10), (L{"the quick", "brown fox", "jumps"}));
    EXPECT_EQ(lay("\n\nfirst line\n\nsecond\n\n\n", 20), (L{"first line", "", "second"}));
    // The lines of a paragraph flow together, as the level files break them short.
    EXPECT_EQ(lay("one two\nthree\n  \nfour", 20), (L{"one two three", "", "four"}));
    EXPECT_EQ(lay("exactly10c", 10), (L{"exactly10c"}));
    // A word wider than a line is broken inside it.
    EXPECT_EQ(lay("a supercalifragilistic word", 8),
              (L{"a", "supercal", "ifragili", "stic", "word"}));
    EXPECT_TRUE(lay("", 10).empty());
    EXPECT_TRUE(lay(" \n \t\r\n", 10).empty());
}

TEST(TextLayout, UndrawableCharactersBecomeQuestionMarksAndTabsSpaces) {
    EXPECT_EQ(lay("caf\xc3\xa9\tok\r\n", 40), std::vector<std::string>{"caf?? ok"});
}

TEST(TextLayout, LongTextIsCutWithAnEllipsisThatStillFits) {
    const std::string text = "one two three four five six seven eight nine ten";
    const auto lines = lay(text, 10, 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "one two");
    EXPECT_EQ(lines[1], "three...");
    for (std::size_t maxLines : {1u, 3u}) {
        for (int width : {4, 7, 12}) {
            for (const std::string& line : lay(text, width, maxLines)) {
                EXPECT_LE(static_cast<int>(line.size()), std::max(width, 3)) << line;
            }
            const std::string last = lay(text, width, maxLines).back();
            EXPECT_EQ(last.substr(last.size() - 3), "...");
        }
    }
    EXPECT_EQ(fitLine("short", 10, CHARS), "short");
    EXPECT_EQ(fitLine("much too long a line", 10, CHARS), "much...");
    EXPECT_EQ(fitLine("unbreakableword", 10, CHARS), "unbreak...");
}
