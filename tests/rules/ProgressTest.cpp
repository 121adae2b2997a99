// The player's progress file: where it lives, what it keeps, and damaged or unwritable files.

#include "rules/Progress.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

class ProgressFile : public ::testing::Test {
  protected:
    std::string load(Progress& p, const std::string& path) {
        std::ostringstream out;
        p.load(path, out);
        return out.str();
    }
    ScratchDir scratch{"progress"};
};

TEST_F(ProgressFile, PathFollowsTheDataHomeOrTheHomeFolder) {
    EXPECT_EQ(Progress::defaultPath("/x/data", "/home/a"), "/x/data/beamworks/progress.txt");
    EXPECT_EQ(Progress::defaultPath("", "/home/a"), "/home/a/.local/share/beamworks/progress.txt");
    EXPECT_EQ(Progress::defaultPath(nullptr, "/home/a"),
              "/home/a/.local/share/beamworks/progress.txt");
    EXPECT_EQ(Progress::defaultPath(nullptr, nullptr), "");
    // Relative folders would point into the game's data folder, its working directory.
    EXPECT_EQ(Progress::defaultPath("data", "/home/a"),
              "/home/a/.local/share/beamworks/progress.txt");
    EXPECT_EQ(Progress::defaultPath("./data", "home"), "");
}

TEST_F(ProgressFile, SolvedLevelsSurviveARoundTripInAFolderMadeOnDemand) {
    const std::string path = scratch.file("made/beamworks/progress.txt");
    Progress p;
    EXPECT_EQ(load(p, path), ""); // missing: nothing solved, nothing said
    std::ostringstream out;
    EXPECT_TRUE(p.recordSolve("level2.txt", 9, out));
    EXPECT_FALSE(p.recordSolve("level2.txt", 9, out)); // no better: not written again
    EXPECT_TRUE(p.recordSolve("level2.txt", 4, out));
    EXPECT_TRUE(p.recordSolve("level10.txt", 0, out));
    EXPECT_FALSE(p.recordSolve("../escape.txt", 1, out));
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(readFile(path), "level10.txt 0\nlevel2.txt 4\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    Progress again;
    EXPECT_EQ(load(again, path), "");
    EXPECT_TRUE(again.isSolved("level2.txt"));
    EXPECT_TRUE(again.isSolved("level10.txt"));
    EXPECT_FALSE(again.isSolved("level1.txt"));
    EXPECT_EQ(again.solved().size(), 2u);
    EXPECT_EQ(again.bestMoves("level2.txt"), 4);
}

TEST_F(ProgressFile, LinesNameALevelWithItsBestMovesOrAloneAsOlderGamesWroteThem) {
    Progress p;
    std::istringstream in("level4.txt\nlevel5.txt 7\r\nlevel5.txt 3\nlevel5.txt\n\n"
                          "my level 2.txt 0\nlevel6.txt 999999999"); // moves after the last blank
    std::ostringstream said, out;
    EXPECT_TRUE(p.read(in, "test", said)) << said.str();
    p.recordSolve("level4.txt", 30, said); // solved before its moves were kept
    p.write(out);
    EXPECT_EQ(out.str(), "level4.txt 30\nlevel5.txt 3\nlevel6.txt 999999999\nmy level 2.txt 0\n");
    for (const char* bad : {"level5.txt 1000000000", "level5.txt -3", "level5.txt 7 ",
                            "level5.txt  7", "level5.txt 7x", "level5 7"}) {
        std::istringstream damaged(std::string("level4.txt 2\n") + bad);
        EXPECT_FALSE(p.read(damaged, "test", said) || !p.solved().empty()) << bad;
    }
}

TEST_F(ProgressFile, DamagedOrForeignFilesGiveOneLineAnEmptyProgressAndAreReplacedOnSave) {
    const std::string cases[] = {
        std::string("level1.txt\n\x01\x02\xff\xfe binary\n", 22),
        "level1.txt\n" + std::string(5000, 'a') + ".txt\n",
        "level1.txt\nnot a level\n",
        "level1.txt\n/etc/passwd.txt\n",
        std::string(2 << 20, '\n'),
    };
    for (const std::string& bytes : cases) {
        const std::string path = scratch.write("progress.txt", bytes);
        Progress p;
        const std::string said = load(p, path);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(path), std::string::npos) << said;
        EXPECT_TRUE(p.solved().empty());
        std::ostringstream out;
        EXPECT_TRUE(p.recordSolve("level4.txt", 5, out));
        EXPECT_EQ(readFile(path), "level4.txt 5\n");
    }
    // A folder where the file should be.
    std::filesystem::create_directories(scratch.file("dir.txt"));
    Progress p;
    EXPECT_NE(load(p, scratch.file("dir.txt")), "");
}

TEST_F(ProgressFile, AFolderThatCannotBeMadeGivesOneLineAndThePlayGoesOn) {
    // A file stands where the folder would be: no one, not even root, can make it.
    const std::string blocker = scratch.write("blocker", "");
    Progress p;
    EXPECT_EQ(load(p, blocker + "/beamworks/progress.txt"), "");
    std::ostringstream out;
    EXPECT_FALSE(p.recordSolve("level1.txt", 3, out));
    const std::string said = out.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_TRUE(p.isSolved("level1.txt")); // still known for this run
}
