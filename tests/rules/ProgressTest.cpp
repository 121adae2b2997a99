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
    EXPECT_TRUE(p.markSolved("level2.txt", out));
    EXPECT_FALSE(p.markSolved("level2.txt", out)); // known: not written again
    EXPECT_TRUE(p.markSolved("level10.txt", out));
    EXPECT_FALSE(p.markSolved("../escape.txt", out));
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    Progress again;
    EXPECT_EQ(load(again, path), "");
    EXPECT_TRUE(again.isSolved("level2.txt"));
    EXPECT_TRUE(again.isSolved("level10.txt"));
    EXPECT_FALSE(again.isSolved("level1.txt"));
    EXPECT_EQ(again.solved().size(), 2u);
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
        EXPECT_TRUE(p.markSolved("level4.txt", out));
        EXPECT_EQ(readFile(path), "level4.txt\n");
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
    EXPECT_FALSE(p.markSolved("level1.txt", out));
    const std::string said = out.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_TRUE(p.isSolved("level1.txt")); // still known for this run
}
