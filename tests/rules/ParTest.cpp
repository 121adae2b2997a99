// The pack's par file and what the game says of a solve.

#include "rules/Par.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(Par, BadLinesAreLeftOutUnderOneConsoleLineOnlyThePacksLevelsHaveAParAndTheSolveSaysIt) {
    std::istringstream in("# comment\n\nlevel4.txt 3\nlevel12.txt 9999\r\nlevel5.txt 0\n"
                          "level5.txt 03\nlevel5.txt 10000\nlevel5.txt -2\nlevel5.txt\n"
                          "level5.txt 3 \nlevel5.txt  3\nmaps/level5.txt 3\nmine.txt 3\n"
                          "level05.txt 3\nlevel4.txt 5\n\xff\xfe 3\n");
    ParTable table;
    std::ostringstream said;
    EXPECT_FALSE(table.read(in, "par.txt", said));
    EXPECT_EQ(said.str(), "Par file par.txt: 12 lines left out, the first line 5 (a line is a "
                          "level file and its par, \"level4.txt 3\")\n");
    EXPECT_EQ(table.values(),
              (std::map<std::string, int>{{"level12.txt", 9999}, {"level4.txt", 3}}));
    EXPECT_EQ(table.parOf("/home/a/level4.txt"), std::nullopt);
    // What the game says of a solve, with a par and without.
    EXPECT_EQ(solvedMessage(4, 3), "SOLVED IN 4 MOVES - PAR 3");
    EXPECT_EQ(solvedMessage(0, std::nullopt), "SOLVED IN 0 MOVES");
    EXPECT_EQ(solvedLine("level4.txt", 12, 3), "Level solved: level4.txt in 12 moves (par 3)");
    EXPECT_EQ(solvedLine("/a/mine.txt", 1, std::nullopt), "Level solved: /a/mine.txt in 1 moves");
}
