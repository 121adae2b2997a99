// Playing the pack through in one launch, without a window: the pack's neighbours and titles,
// and entering levels.

#include "rules/GameFlow.h"
#include "level/Level.h"
#include "rules/Interaction.h"
#include "rules/LevelPack.h"
#include "rules/Settings.h"
#include "rules/UndoHistory.h"
#include "support/LevelText.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

namespace {

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
    ScratchDir scratch{"play"};
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
    EXPECT_FALSE(enterLevel(scratch.file("missing.txt"), out));
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
    EXPECT_NE(out.str().find("Start view of " + steep + " refused"), std::string::npos);
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
