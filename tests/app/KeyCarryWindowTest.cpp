// The real game without a mouse, on a virtual display: Tab, T, the arrow keys, ESC, ENTER, the
// turn keys and the look keys carry a mirror and solve a level, a test room's and level 8.

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

TEST_F(CarryByKeys, TheKeysAloneHangLevelEightsMirrorOnTheCeilingAndSolveIt) {
    // The eye of level 8 stands 19 units under the ceiling, which it sees at a grazing angle:
    // near the spot, a pixel of the pointer moves the holder some 25 units nearer or farther,
    // and heading 172, tilt 58 solve over a stretch of 4.5 pixels. Twenty looks up turn the
    // view to 2.3 degrees above the horizontal; from the foot (318, 478) the pointer goes 24 px
    // left and 80 px up, to (294, 398), where the ray meets the ceiling at (9, 560, -206): the
    // middle of that stretch, 2 px from either end.
    auto game = start("8", "");
    // Turned from 30 to heading 0 first, the holder's x axis runs along world x, which it keeps
    // exactly on the floor, the walls facing along z and the ceiling: its heading on the ceiling,
    // 180, does not depend on the surfaces the frames happen to carry it over on the way.
    ASSERT_TRUE(send("key --delay 20 Tab bracketleft bracketleft bracketleft bracketleft "
                     "bracketleft bracketleft t"));
    ASSERT_TRUE(game->waitForOutput("\nCarry started\n", 60)) << game->output();
    waitFrames(*game, 2); // the pointer at the foot, as the start view shows it
    std::string looks = "key --delay 20";
    for (int i = 0; i < 20; ++i) {
        looks += " 8";
    }
    ASSERT_TRUE(send(looks));
    step(*game, -24, "Left", "Right");
    step(*game, -80, "Up", "Down");
    ASSERT_TRUE(send("key Return"));
    ASSERT_TRUE(game->waitForOutput("\nCarry set down\n", 60)) << game->output();
    // Heading 180 to 172, tilt 0 to 58.
    ASSERT_TRUE(send("key --delay 20 bracketleft shift+bracketleft shift+bracketleft "
                     "shift+bracketleft apostrophe apostrophe apostrophe apostrophe apostrophe "
                     "apostrophe apostrophe apostrophe apostrophe apostrophe apostrophe "
                     "shift+apostrophe shift+apostrophe shift+apostrophe space"));
    EXPECT_TRUE(game->waitForOutput("Level solved: level8.txt", 60)) << game->output();
    quit(*game);
}
