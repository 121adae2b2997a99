// The real game without a mouse, on a virtual display: Tab, T, the arrow keys, ESC, ENTER and the
// turn keys carry a mirror and solve a level.

#include "rules/Interaction.h"
#include "rules/KeyCarry.h"
#include "support/GameScreen.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace gamescreen;

class CarryByKeys : public GameWindow {
  protected:
    // Steps the carry pointer `pixels` along an axis (`less`: the key towards smaller values), in
    // large steps with Shift, then the nearest number of small ones, and lets the holder follow.
    void step(const GameRun& game, int pixels, const std::string& less, const std::string& more) {
        const int large = static_cast<int>(CARRY_POINTER_STEP * FAST_SHIFT_FACTOR);
        const int small = static_cast<int>(CARRY_POINTER_STEP), n = std::abs(pixels);
        const std::string key = pixels < 0 ? less : more;
        std::string keys = "key --delay 20";
        for (int i = 0; i < n / large + (n % large + small / 2) / small; ++i) {
            keys += (i < n / large ? " shift+" : " ") + key;
        }
        ASSERT_TRUE(send(keys));
        waitFrames(game, 2);
    }
};

TEST_F(CarryByKeys, TabTheArrowsEnterAndTheTurnKeysSolveALevelThatNeedsACarry) {
    // The start view of carry.txt: the eye at (0, 140, 280), looking 20 degrees down. The
    // pointer starts where the mirror's foot shows, down its holder's axis, and goes to the floor
    // under the beam, where the holder, turned to 45 degrees, sends the beam to the goal.
    const std::array<float, 3> eye{0, 140, 280};
    const auto foot = project(100, -100, -50, eye, -20);
    const auto target = project(-154, -70, -204, eye, -20);
    auto game = start("74", "carry.txt");
    // A carry taken back: the holder goes back to where it was, and the game goes on.
    ASSERT_TRUE(send("key Tab t"));
    ASSERT_TRUE(game->waitForOutput("\nCarry started\n", 60)) << game->output();
    waitFrames(*game, 2); // the first frame puts the pointer at the foot
    step(*game, -100, "Left", "Right");
    ASSERT_TRUE(send("key Escape"));
    ASSERT_TRUE(game->waitForOutput("\nCarry cancelled\n", 60)) << game->output();

    ASSERT_TRUE(send("key t"));
    waitFrames(*game, 3);
    step(*game, target[0] - foot[0], "Left", "Right");
    step(*game, target[1] - foot[1], "Up", "Down");
    ASSERT_TRUE(send("key Return"));
    ASSERT_TRUE(game->waitForOutput("\nCarry set down\n", 60)) << game->output();
    ASSERT_TRUE(send("key --delay 20 bracketright bracketright bracketright space"));
    // Two moves: the carry and the run of key turns (the carry taken back is none); a level
    // outside the pack has no par.
    EXPECT_TRUE(game->waitForOutput("Level solved: level74.txt in 2 moves\n", 60))
        << game->output();
    quit(*game);
}
