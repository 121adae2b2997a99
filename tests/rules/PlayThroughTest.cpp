// Playing the pack through in one launch, without a window: entering levels, the pack's
// neighbours and titles, the undo history and the progress file.

#include "level/Level.h"
#include "rules/GameFlow.h"
#include "rules/LevelPack.h"
#include "rules/Progress.h"
#include "rules/Settings.h"
#include "rules/UndoHistory.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Scratch {
    fs::path dir = fs::path(::testing::TempDir()) / ("beamworks-play-" + std::to_string(getpid()));
    Scratch() { fs::create_directories(dir); }
    ~Scratch() {
        std::error_code e;
        fs::remove_all(dir, e);
    }
    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
        return (dir / name).string();
    }
};

const char* const TWO_MIRRORS = R"(A test level: two mirrors

It says what it teaches here.
@ EMI
# Pos 0;0;300;
@ MIR
# Pos 0;0;0;
@ MIR
# Pos 200;0;0;
@ CAM
# Pos 10;20;30;
)";

} // namespace

TEST(LevelPack, NeighboursWalkTheNumberedFilesAndStopAtAGap) {
    const std::set<std::string> files = {"level1.txt", "level2.txt", "level3.txt", "level5.txt"};
    const auto exists = [&](const std::string& f) { return files.count(f) > 0; };
    EXPECT_EQ(neighbourLevel("level1.txt", 1, exists), "level2.txt");
    EXPECT_EQ(neighbourLevel("level2.txt", -1, exists), "level1.txt");
    EXPECT_EQ(neighbourLevel("level3.txt", 1, exists), ""); // level4 is missing: the pack ends
    EXPECT_EQ(neighbourLevel("level1.txt", -1, exists), "");
    for (const char* alone : {"levelcustom.txt", "level03.txt", "level.txt", "mylevel2.txt",
                              "level2.txt.bak", "level-1.txt", "level99999999.txt"}) {
        EXPECT_EQ(packNumber(alone), 0) << alone;
        EXPECT_EQ(neighbourLevel(alone, 1, exists), "") << alone;
    }
    EXPECT_EQ(packNumber("level12.txt"), 12);
}

TEST(LevelPack, TitleIsTheFirstLineOfTheLeadingCommentAndTheStartMessageSaysWhatWasSolved) {
    std::istringstream text(TWO_MIRRORS);
    const std::string comment = readLeadingComment(text);
    EXPECT_EQ(comment, "A test level: two mirrors\n\nIt says what it teaches here.\n");
    EXPECT_EQ(levelTitle(comment, "level7.txt"), "A test level: two mirrors");
    EXPECT_EQ(levelTitle("\n  \r\n\t Indented title \r\nmore", "x.txt"), "Indented title");
    EXPECT_EQ(levelTitle("", "level7.txt"), "level7.txt");
    EXPECT_EQ(levelTitle(" \n\n", "level7.txt"), "level7.txt");
    EXPECT_EQ(levelStartMessage("level3.txt", false), "LEVEL 3");
    EXPECT_EQ(levelStartMessage("level3.txt", true), "LEVEL 3 - SOLVED BEFORE");
    EXPECT_EQ(levelStartMessage("levelcustom.txt", false), "LEVEL CUSTOM");
}

class EnteringLevels : public ::testing::Test {
  protected:
    void SetUp() override {
        loadTestModels();
        file = scratch.write("level1.txt", TWO_MIRRORS);
    }
    Scratch scratch;
    std::string file;
};

TEST_F(EnteringLevels, ALoadResetsThePlayAndAnUnreadableFileChangesNothing) {
    std::ostringstream out;
    ASSERT_TRUE(enterLevel(file, out));
    EXPECT_EQ(out.str(), "\nLevel: " + file + " - A test level: two mirrors\n");
    Level* first = currentLevel;
    EXPECT_EQ(eyePosition(viewMatrix)[1], 20);
    // Play a little: a selection, a step, power, energy used, the latches.
    selectedElement = first->objects[2];
    selectionActive = doubleClicked = true;
    undoHistory.begin(selectedElement, UndoHistory::Kind::Shift);
    selectedElement->translate(5, 0, 0);
    undoHistory.close();
    gameSettings.laserPower = true;
    energy = 12;
    levelSolved = gameOver = true;
    viewMatrix = Matrix::identity();

    captureStdout([&] { EXPECT_FALSE(enterLevel(scratch.write("broken", ""), out)); });
    EXPECT_FALSE(enterLevel((scratch.dir / "missing.txt").string(), out));
    EXPECT_EQ(currentLevel, first);
    EXPECT_EQ(energy, 12);
    EXPECT_EQ(undoHistory.undoCount(), 1u);

    ASSERT_TRUE(enterLevel(file, out));
    EXPECT_NE(currentLevel, first);
    EXPECT_EQ(undoHistory.undoCount(), 0u);
    EXPECT_EQ(selectedElement, nullptr);
    EXPECT_FALSE(selectionActive || doubleClicked || gameSettings.laserPower);
    EXPECT_FALSE(levelSolved || gameOver);
    EXPECT_EQ(energy, ENERGY_CAPACITY);
    EXPECT_EQ(viewMatrix, startViewMatrix);
    EXPECT_EQ(levelFileName, file);
}

TEST_F(EnteringLevels, TheStartViewLooksDownAndTurnsAsTheCameraSays) {
    std::ostringstream out;
    const std::string turned =
        scratch.write("level2.txt", std::string(TWO_MIRRORS) + "# XRo -40;\n# YRo 30;\n");
    ASSERT_TRUE(enterLevel(turned, out));
    EXPECT_EQ(out.str(), "\nLevel: " + turned + " - A test level: two mirrors\n");
    const Point eye = eyePosition(startViewMatrix);
    EXPECT_NEAR(eye[0], 10, 1e-3);
    EXPECT_NEAR(eye[1], 20, 1e-3);
    EXPECT_NEAR(eye[2], 30, 1e-3);
    // The view's forward direction in the world (the third row of its rotation, negated): 40
    // degrees down, turned 30 degrees from -z towards -x, no roll.
    const double r = PI / 180;
    const Matrix& v = startViewMatrix;
    EXPECT_NEAR(-v[2], -std::sin(30 * r) * std::cos(40 * r), 1e-5);
    EXPECT_NEAR(-v[6], -std::sin(40 * r), 1e-5);
    EXPECT_NEAR(-v[10], -std::cos(30 * r) * std::cos(40 * r), 1e-5);
    EXPECT_NEAR(v[4], 0, 1e-5); // the eye's x axis stays horizontal

    // Straight down is past the camera rules' limit: the view starts level, turned alone.
    const std::string steep =
        scratch.write("level3.txt", std::string(TWO_MIRRORS) + "# XRo -90;\n# YRo 30;\n");
    out.str("");
    ASSERT_TRUE(enterLevel(steep, out));
    EXPECT_NE(out.str().find("Start view of " + steep +
                             " refused: it would look past the vertical; the view starts level\n"),
              std::string::npos);
    EXPECT_NEAR(startViewMatrix[6], 0, 1e-6);
    EXPECT_NEAR(-startViewMatrix[2], -std::sin(30 * r), 1e-5);
    EXPECT_EQ(eyePosition(startViewMatrix)[1], 20);
}

TEST_F(EnteringLevels, TwoHundredLoadsLeaveNoObjectBehind) {
    std::ostringstream out;
    ASSERT_TRUE(enterLevel(file, out));
    const long live = Renderable::liveCount();
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(enterLevel(file, out));
    }
    EXPECT_EQ(Renderable::liveCount(), live);
}

class Undo : public ::testing::Test {
  protected:
    void SetUp() override {
        loadTestModels();
        level = levelFromText(TWO_MIRRORS);
        // The two mirrors, each in its frame in its holder (children come before parents).
        for (Renderable* r : level->objects) {
            if (r->hasParent && r->parent->hasParent) {
                mirrors.push_back(r);
            }
        }
        ASSERT_EQ(mirrors.size(), 2u);
        history.clear();
    }
    Matrix world(int i) { return mirrors[i]->getWorldMatrix(); }

    std::unique_ptr<Level> level;
    std::vector<Renderable*> mirrors;
    UndoHistory history;
};

TEST_F(Undo, StepsComeBackExactlyAndANewStepDropsTheRedo) {
    const Matrix start = world(0);
    history.begin(mirrors[0], UndoHistory::Kind::Turn);
    for (int i = 0; i < 7; ++i) {
        mirrors[0]->rotateY(0.0123f); // a drag: many small turns, rounding as they go
        mirrors[0]->rotateX(-0.031f);
    }
    history.close();
    const Matrix turned = world(0);
    history.begin(mirrors[0], UndoHistory::Kind::Carry);
    mirrors[0]->translate(40, 0, -3);
    history.close();
    EXPECT_EQ(history.undoCount(), 2u);

    ASSERT_TRUE(history.undo());
    EXPECT_EQ(world(0), turned);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(world(0), start); // exactly: the matrices, not opposite turns
    EXPECT_FALSE(history.undo());
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(world(0), turned);
    EXPECT_EQ(history.redoCount(), 1u);

    history.begin(mirrors[1], UndoHistory::Kind::Turn);
    mirrors[1]->rotateY(0.5f);
    history.close();
    EXPECT_EQ(history.redoCount(), 0u);
    EXPECT_FALSE(history.redo());
}

TEST_F(Undo, AShiftRunIsOneStepUntilAnotherElementOrKindComes) {
    const Matrix start = world(0);
    for (int frame = 0; frame < 30; ++frame) {
        history.begin(mirrors[0], UndoHistory::Kind::Shift);
        mirrors[0]->translate(0.5f, 0, 0);
    }
    const Matrix shifted = world(0);
    history.begin(mirrors[0], UndoHistory::Kind::Turn); // another kind ends the run
    mirrors[0]->rotateY(0.2f);
    history.begin(mirrors[1], UndoHistory::Kind::Shift); // another element ends the turn
    mirrors[1]->translate(0, 1, 0);
    EXPECT_EQ(history.undoCount(), 2u);
    ASSERT_TRUE(history.undo()); // closes the open run first
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(world(0), shifted);
    ASSERT_TRUE(history.undo());
    EXPECT_EQ(world(0), start);
}

TEST_F(Undo, AClickThatChangesNothingIsNoStepAndClearForgetsAll) {
    history.begin(mirrors[0], UndoHistory::Kind::Turn);
    history.close();
    history.begin(mirrors[1], UndoHistory::Kind::Shift);
    EXPECT_FALSE(history.undo());
    history.begin(mirrors[0], UndoHistory::Kind::Turn);
    mirrors[0]->rotateY(1);
    history.clear();
    EXPECT_FALSE(history.undo());
    EXPECT_FALSE(history.redo());
}

class ProgressFile : public ::testing::Test {
  protected:
    std::string load(Progress& p, const std::string& path) {
        std::ostringstream out;
        p.load(path, out);
        return out.str();
    }
    Scratch scratch;
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
    const std::string path = (scratch.dir / "made" / "beamworks" / "progress.txt").string();
    Progress p;
    EXPECT_EQ(load(p, path), ""); // missing: nothing solved, nothing said
    std::ostringstream out;
    EXPECT_TRUE(p.markSolved("level2.txt", out));
    EXPECT_FALSE(p.markSolved("level2.txt", out)); // known: not written again
    EXPECT_TRUE(p.markSolved("level10.txt", out));
    EXPECT_FALSE(p.markSolved("../escape.txt", out));
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
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
        std::ifstream in(path);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "level4.txt\n");
    }
    // A folder where the file should be.
    fs::create_directories(scratch.dir / "dir.txt");
    Progress p;
    EXPECT_NE(load(p, (scratch.dir / "dir.txt").string()), "");
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
