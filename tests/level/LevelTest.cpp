#include "level/Level.h"
#include "elements/ColorFilter.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Wall.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {

using LevelFile = WithGameModels;

Point origin(Renderable* r) {
    const Matrix w = r->getWorldMatrix();
    return {w[12], w[13], w[14], 1};
}

} // namespace

TEST_F(LevelFile, ReadsTheExampleFileAndTheColourOfEveryDirective) {
    auto level = levelFromText("@ EMI\n# Pos 0;0;0;\n# YRo 90;\n@ FIL\n# Pos 0;0;-200;\n+ XRo 45;\n"
                               "# Col 1\n");
    ASSERT_EQ(level->activeObjects.size(), 4u);
    auto* emitter = dynamic_cast<Emitter*>(level->activeObjects[0]);
    ASSERT_NE(emitter, nullptr);
    const Point d = emitter->beamDirection();
    EXPECT_NEAR(d[0], -1, 1e-6); // turned by 90 degrees about Y
    ASSERT_EQ(level->colorFilters.size(), 1u);
    ColorFilter* filter = level->colorFilters[0];
    EXPECT_EQ(filter->colorCode, 1);
    EXPECT_NEAR(origin(filter)[2], -200, 1e-4);
    auto* frame = dynamic_cast<HolderFrame*>(filter->parent);
    ASSERT_NE(frame, nullptr);
    EXPECT_NEAR(frame->localMatrix[5], std::cos(PI / 4), 1e-6); // the frame is tilted
    EXPECT_EQ(frame->parent->localMatrix[5], 1.0f);             // the holder is not
    // Colours: a mirror keeps its own; '+' acts like '#' for "Col".
    level = levelFromText("@ MIR\n# Col 1\n@ HMI\n+ Col 2\n@ FIL\n+ Col 6\n@ FIN\n# Col 3\n");
    EXPECT_EQ(level->activeObjects[0]->vertexColors[0], 0.7f);
    EXPECT_EQ(level->colorFilters.at(0)->colorCode, 6);
    ASSERT_EQ(level->goals.size(), 1u);
    EXPECT_EQ(level->goals[0]->requiredColor, 3);
}

TEST_F(LevelFile, CameraPositionIsNegatedAndTruncated) {
    auto level = levelFromText("@ CAM\n# Pos 1.5;2;-3.7;\n");
    EXPECT_EQ(level->cameraOffset, (std::array<float, 3>{-1, -2, 3}));
    EXPECT_TRUE(level->objects.empty());
    // Its turns are kept for the start view and reach no object, nor do its other properties.
    auto turned = levelFromText("@ WAL\n@ CAM\n# Pos 9;9;9;\n# XRo -40;\n# YRo 30.5;\n# ZRo 7;\n"
                                "+ XRo 5;\n# Sca 2;2;2;\n");
    EXPECT_EQ(turned->cameraPitch, -40);
    EXPECT_EQ(turned->cameraYaw, 30.5f);
    EXPECT_EQ(turned->walls[0]->localMatrix, Matrix::identity());
}

TEST_F(LevelFile, PropertiesWithoutATargetHaveNoEffectAndKeywordsCountThreeLetters) {
    auto level =
        levelFromText("# Pos 5;5;5;\n@ WALL\n# Position 10;0;0;\n#xPos 5;1;0;\n#Position 9;9;9;\n"
                      "@ LEV 1\n# Pos 7;7;7;\n# Col 3\n@ XYZ\n# Pos 1;1;1;\n");
    ASSERT_EQ(level->walls.size(), 1u);
    // Two positions add up; "#Position" reads the keyword "osi".
    EXPECT_EQ(origin(level->walls[0]), (Point{15, 1, 0, 1}));
}

TEST_F(LevelFile, PlusTransformsTheFirstChild) {
    auto level = levelFromText(
        "@ MIR\n+ Sca 0.5;0.5;0.5;\n+ Pos 0;0;-10;\n+ YRo 90;\n@ FIN\n+ Pos 0;5;0;\n");
    auto* frame = dynamic_cast<HolderFrame*>(level->objects[1]);
    auto* holder = dynamic_cast<Holder*>(level->objects[2]);
    ASSERT_TRUE(frame && holder);
    EXPECT_FLOAT_EQ(frame->localMatrix[0], 0.5f);  // scale stays with the frame
    EXPECT_FLOAT_EQ(holder->localMatrix[14], -10); // a move reaches the holder again
    EXPECT_NEAR(holder->localMatrix[0], 0, 1e-6);  // and so does the turn
    auto* door = dynamic_cast<Finish*>(level->objects[3]);
    ASSERT_NE(door, nullptr);
    EXPECT_FLOAT_EQ(door->localMatrix[13], -45);
    // '+' on an object without children is ignored.
    auto plain = levelFromText("@ WAL\n+ Pos 1;1;1;\n+ Tex 3;\n");
    EXPECT_EQ(plain->walls[0]->localMatrix, Matrix::identity());
    EXPECT_EQ(plain->walls[0]->textureIndex, 3); // "Tex" applies to the object itself
}

TEST_F(LevelFile, EndOfFileOrByteFFInsidePropertiesKeepsWhatWasBuilt) {
    for (const char* text : {"@ WAL\n# Pos 1;2", "@ WAL\n# Po", "@ WAL\n# Pos", "@ WAL\n# Col ",
                             "@ WAL\n# YRo 90", "@ WAL\n#"}) {
        EXPECT_EQ(levelFromText(text)->walls.size(), 1u) << text;
    }
    EXPECT_TRUE(levelFromText("@ WA")->walls.empty());
    // A byte 0xFF ends the file as its end does.
    EXPECT_EQ(levelFromText(std::string("@ WAL\n") + '\xFF' + "\n@ WAL\n")->walls.size(), 1u);
}

TEST_F(LevelFile, HugeAndNonNumericValuesAreSafe) {
    auto level = levelFromText("@ WAL\n# Pos abc;1e999;-1e999;\n# Tex 1e300;\n@ WAL\n# Tex nan;\n"
                               "@ FIL\n# Col \xF0\n@ CAM\n# Pos 1e300;-1e300;nan;\n");
    ASSERT_EQ(level->walls.size(), 2u);
    EXPECT_EQ(level->walls[0]->textureIndex, INT_MAX);
    EXPECT_EQ(level->walls[1]->textureIndex, 0);
    EXPECT_EQ(level->colorFilters[0]->colorCode, static_cast<signed char>(0xF0 - '0'));
    EXPECT_EQ(level->colorFilters[0]->vertexColors[0], 0.0f);
}

TEST_F(LevelFile, AMissingFileBecomesTheCurrentLevelUnloadedAndEmpty) {
    captureStdout([] { EXPECT_FALSE(loadLevel("/nonexistent/level99.txt")); });
    ASSERT_NE(currentLevel, nullptr);
    EXPECT_FALSE(currentLevel->isLoaded());
    EXPECT_TRUE(currentLevel->getObjects().empty());
}
