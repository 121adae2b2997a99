// The undo history: steps of turns, carries and runs of shifts taken back exactly.

#include "rules/UndoHistory.h"
#include "level/Level.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

class Undo : public ::testing::Test {
  protected:
    void SetUp() override {
        loadTestModels();
        level = levelFromText("@ MIR\n# Pos 0;0;0;\n@ MIR\n# Pos 200;0;0;\n");
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
    EXPECT_EQ(history.moves(), 0u);
    EXPECT_FALSE(history.undo());
    ASSERT_TRUE(history.redo());
    EXPECT_EQ(world(0), turned);
    EXPECT_EQ(history.redoCount(), 1u);
    EXPECT_EQ(history.moves(), 1u); // the moves applied, not the moves ever made

    history.begin(mirrors[1], UndoHistory::Kind::Turn);
    mirrors[1]->rotateY(0.5f);
    history.close();
    EXPECT_EQ(history.redoCount(), 0u);
    EXPECT_FALSE(history.redo());
}

TEST_F(Undo, AShiftRunIsOneStepUntilAnotherElementOrKindComes) {
    const Matrix start = world(0);
    history.begin(mirrors[0], UndoHistory::Kind::Shift);
    EXPECT_EQ(history.moves(), 0u); // open, but nothing changed yet
    for (int frame = 0; frame < 30; ++frame) {
        history.begin(mirrors[0], UndoHistory::Kind::Shift);
        mirrors[0]->translate(0.5f, 0, 0);
        EXPECT_EQ(history.moves(), 1u); // the open run is one move from its first change
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

TEST_F(Undo, ACancelledCarryGoesBackExactlyAndIsNoStep) {
    const Matrix start = world(0);
    history.begin(mirrors[0], UndoHistory::Kind::Carry);
    mirrors[0]->translate(-70, 5, 12);
    mirrors[0]->rotateX(0.4f);
    EXPECT_EQ(history.moves(), 1u);
    history.cancel();
    EXPECT_EQ(world(0), start);
    EXPECT_EQ(history.moves(), 0u);
    EXPECT_FALSE(history.undo());
}
