// What the real game tells and lets a new player do, on a virtual display: the introduction
// that the first key closes without doing anything else, the help key, clicks that stay in the
// interface, a window that changes size, and the colour labels.

#include "support/GameScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace gamescreen;

namespace {

class Guidance : public GameWindow {
  protected:
    // Starts a test level and lets a few frames pass; the introduction stays open.
    std::unique_ptr<GameRun> startWithIntroduction(const std::string& number,
                                                   const std::string& file) {
        return launch(stageLevel(number, file), GAME, "", false);
    }
};

} // namespace

TEST_F(Guidance, IntroductionHelpClicksOnTheBarsAndAResizedWindow) {
    auto game = startWithIntroduction("85", "room.txt");
    // The first key closes the introduction and does nothing else: the panel over the middle of
    // the scene is gone, and the power did not come on.
    const Picture open = frameNow(*game, shot);
    ASSERT_EQ(open.width, 1024);
    ASSERT_TRUE(send("key space"));
    waitFrames(*game, 3);
    const Picture closed = frameNow(*game, shot);
    EXPECT_GT(changedPixels(open, closed, 200, 250, 824, 520), 10000L);
    EXPECT_EQ(game->output().find("set Laser to:"), std::string::npos) << game->output();
    ASSERT_TRUE(send("key space"));
    EXPECT_TRUE(game->waitForOutput("set Laser to: 1", 60)) << game->output();
    ASSERT_TRUE(send("key F1"));
    EXPECT_TRUE(game->waitForOutput("\nHelp: 1\n", 60)) << game->output();
    ASSERT_TRUE(send("key F1"));
    EXPECT_TRUE(game->waitForOutput("\nHelp: 0\n", 60)) << game->output();

    // A double click on the bottom bar leaves the selected holder where it is: no click reaches
    // the scene (no pick, no deselection), and no carry follows the pointer over the right wall.
    const auto mirror = project(-150, 20, -200);
    ASSERT_TRUE(send("mousemove " + at(mirror) + " click 1 sleep 0.6"));
    ASSERT_TRUE(game->waitForOutput("---- 2 ----", 60)) << game->output();
    waitFrames(*game, 2);
    const Picture before = frameNow(*game, shot);
    const int lasers = lastLaserCount(game->output());
    std::size_t seen = game->output().size();
    ASSERT_TRUE(send("mousemove 40 752 click --repeat 2 --delay 80 1 sleep 0.5"));
    ASSERT_TRUE(send("mousemove " + std::to_string(project(300, 60, -100)[0]) + " 400"));
    waitFrames(*game, 4);
    const Picture after = frameNow(*game, shot);
    EXPECT_EQ(lastLaserCount(game->output()), lasers);
    EXPECT_EQ(game->output().find("---klick---", seen), std::string::npos)
        << game->output().substr(seen);
    EXPECT_LT(changedPixels(before, after, mirror[0] - 60, mirror[1] - 60, mirror[0] + 60,
                            mirror[1] + 60),
              50L);

    // A resized window keeps its bars at its edges (the power switch dark again) and picks where
    // the pointer is.
    ASSERT_TRUE(send("key space"));
    ASSERT_TRUE(game->waitForOutput("set Laser to: 0", 60)) << game->output();
    ASSERT_TRUE(send("search --name '^Beamworks$' windowsize 1000 700"));
    waitFrames(*game, 4);
    const Picture p = frameNow(*game, shot);
    ASSERT_EQ(p.width, 1000);
    ASSERT_EQ(p.height, 700);
    expectBarsAlongTheEdges(p);
    // The mirror where the new projection puts it picks.
    const double f = 1.0 / std::tan(20.0 / 180.0 * PI), aspect = 1000.0 / 700.0;
    const double ex = -150 - 0, ey = 20 - 40, ez = -200 - 280;
    const int x = static_cast<int>((f / aspect * ex / -ez + 1) / 2 * 1000);
    const int y = static_cast<int>((1 - f * ey / -ez) / 2 * 700);
    seen = game->output().size();
    ASSERT_TRUE(
        send("sleep 0.5 mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1"));
    ASSERT_TRUE(waitUntil([&] {
        return game->output().find("---- 2 ----\n", seen) != std::string::npos;
    })) << game->output();
    waitFrames(*game, 2);
    const std::string out = game->output();
    const std::size_t report = out.find("---- 2 ----\n", seen);
    const std::size_t end = out.find('\n', report + 12);
    ASSERT_NE(end, std::string::npos);
    EXPECT_GT(std::atoi(out.c_str() + out.find_last_of(' ', end) + 1), 0) << out.substr(report);
    quit(*game);
}

TEST_F(Guidance, ColourLabelsShowAboveTheGoal) {
    auto game = startWithIntroduction("86", "labels.txt");
    ASSERT_TRUE(send("key shift space"));
    ASSERT_TRUE(game->waitForOutput("set Laser to: 1", 60)) << game->output();
    const Picture plain = frameNow(*game, shot);
    ASSERT_TRUE(send("key c"));
    ASSERT_TRUE(game->waitForOutput("\nColour Labels: 1\n", 60)) << game->output();
    const Picture labelled = frameNow(*game, shot);
    const auto goal = project(-150, 0, -200);
    // A line of outlined text above the ball, and nothing new below it.
    EXPECT_GT(
        changedPixels(plain, labelled, goal[0] - 150, goal[1] - 90, goal[0] + 150, goal[1] - 10),
        300L);
    EXPECT_LT(
        changedPixels(plain, labelled, goal[0] - 150, goal[1] + 10, goal[0] + 150, goal[1] + 80),
        30L);
    quit(*game);
}
