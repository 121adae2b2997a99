// The real game played with the mouse on a virtual display: picking and turning a mirror,
// taking the turn back, carrying it to another wall, and restarting.

#include "support/GameScreen.h"

#include <gtest/gtest.h>

using namespace gamescreen;

class GameControls : public GameWindow {
  protected:
    // Presses the left button at (x, y), after a click there when asked, and drags it `pixels`
    // to the right in ten steps, each waiting for a frame, whatever the frame rate of a busy
    // machine.
    void dragRight(const GameRun& game, int x, int y, int pixels, bool clickFirst) {
        ASSERT_TRUE(send("mousemove " + at({x, y}) + (clickFirst ? " click 1" : "")));
        waitFrames(game, 2);
        ASSERT_TRUE(send("mousedown 1"));
        waitFrames(game, 2);
        for (int i = 1; i <= 10; ++i) {
            const int step = pixels * i / 10 - pixels * (i - 1) / 10;
            ASSERT_TRUE(send("mousemove_relative " + std::to_string(step) + " 0"));
            waitFrames(game, 1);
        }
        ASSERT_TRUE(send("mouseup 1"));
        waitFrames(game, 3);
    }
};

TEST_F(GameControls, AMirrorIsPickedTurnedTakenBackCarriedAndTheLevelRestarted) {
    auto game = start("71", "room.txt");
    // With the power on the beam is traced every frame.
    ASSERT_TRUE(send("key space"));
    ASSERT_TRUE(game->waitForOutput("set Laser to: 1", 60)) << game->output();
    EXPECT_EQ(lastLaserCount(game->output()), 3);
    // The mirror's pane, left of the middle, a little above its centre (off the holder's post).
    const auto mirror = project(-150, 20, -200);
    ASSERT_TRUE(send("mousemove " + at(mirror) + " click 1"));
    ASSERT_TRUE(game->waitForOutput("---- 2 ----", 60)) << game->output();
    waitFrames(*game, 2);
    // The next frame's pick reports the chosen name at the end of a line: a number other than
    // 0 (0 is an empty click, followed by "---- 1 ----").
    const std::string out = game->output();
    const std::size_t report = out.find("---- 2 ----\n");
    ASSERT_NE(report, std::string::npos);
    const std::size_t end = out.find('\n', report + 12);
    ASSERT_NE(end, std::string::npos);
    const std::size_t last = out.find_last_of(' ', end);
    EXPECT_GT(std::atoi(out.c_str() + last + 1), 0) << out.substr(report);
    EXPECT_EQ(out.find("---- 1 ----"), std::string::npos);
    const Picture before = frameNow(*game, shot);

    // A left drag sideways turns the mirror so far that the beam meets a wall before the
    // filter's plane, which no longer cuts it; Ctrl+Z takes the whole drag back as one step.
    dragRight(*game, mirror[0], mirror[1], 400, false);
    EXPECT_NE(lastLaserCount(game->output()), 3) << game->output();
    ASSERT_TRUE(send("key ctrl+z"));
    ASSERT_TRUE(game->waitForOutput("Undo: 0 left", 60)) << game->output();
    waitFrames(*game, 3);
    EXPECT_EQ(lastLaserCount(game->output()), 3) << game->output();
    ASSERT_TRUE(send("key ctrl+z"));
    ASSERT_TRUE(game->waitForOutput("Nothing to undo", 60)) << game->output();

    // Both clicks at once: the second comes well within the double-click time. The holder
    // follows the mouse onto the right wall; a click sets it down there, and the emitter's beam
    // runs straight to the back wall.
    ASSERT_TRUE(send("mousemove " + at(mirror) + " mousedown 1 mouseup 1 mousedown 1 mouseup 1"));
    waitFrames(*game, 3);
    ASSERT_TRUE(send("mousemove " + at(project(309, 60, -100))));
    waitFrames(*game, 4);
    ASSERT_TRUE(send("click 1"));
    waitFrames(*game, 3);
    EXPECT_EQ(lastLaserCount(game->output()), 1) << game->output();
    const Picture after = frameNow(*game, shot);
    ASSERT_EQ(after.width, 1024);
    EXPECT_GT(
        difference(before, after, mirror[0] - 30, mirror[1] - 30, mirror[0] + 30, mirror[1] + 30),
        30L * 60 * 60);
    ASSERT_TRUE(send("key r"));
    ASSERT_TRUE(game->waitForOutput("Restart: level71.txt\n\nLevel: level71.txt - ", 60))
        << game->output();
    quit(*game);
}
