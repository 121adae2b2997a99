// The real game driven with keys and the mouse on a virtual display: key commands and their
// console reports, picking, turning and carrying a mirror, the interface's switches and
// captions, the display-mode switch and the music key.

#include "support/GameScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

using namespace gamescreen;

namespace {

// Where the interface puts its parts in a 1024 x 768 window.
constexpr int WIREFRAME_SWITCH_X = 131, WIREFRAME_SWITCH_Y = 36;
constexpr int POWER_BUTTON_X = 260, POWER_BUTTON_Y = 735, POWER_LEFT = 198;
constexpr int COUNTER_LEFT = 449, COUNTER_RIGHT = 799, COUNTER_TOP = 21, COUNTER_BOTTOM = 71;

// The horizontal extent in pixels of the light text in the counter field.
int counterTextWidth(const Picture& p) {
    int left = COUNTER_RIGHT, right = COUNTER_LEFT;
    for (int y = COUNTER_TOP; y < COUNTER_BOTTOM; ++y) {
        for (int x = COUNTER_LEFT; x < COUNTER_RIGHT; ++x) {
            if (brightness(p.at(x, y)) > 200) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return std::max(0, right - left);
}

// Sum of the absolute brightness differences of two pictures over a rectangle.
long difference(const Picture& a, const Picture& b, int x0, int y0, int x1, int y1) {
    long sum = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            sum += std::abs(brightness(a.at(x, y)) - brightness(b.at(x, y)));
        }
    }
    return sum;
}

// How much redder than green the reddest pixel is within a few rows of a point: a red beam.
int redness(const Picture& p, const std::array<int, 2>& at) {
    int most = -255;
    for (int dy = -12; dy <= 12; ++dy) {
        const auto c = p.at(at[0], std::clamp(at[1] + dy, 0, p.height - 1));
        most = std::max(most, c[0] - c[1]);
    }
    return most;
}

std::string at(const std::array<int, 2>& p) {
    return std::to_string(p[0]) + " " + std::to_string(p[1]);
}

class GameControls : public GameWindow {
  protected:
    // Starts the level with the screenshot rewritten after every frame and focuses the window.
    // An empty file name plays the shipped level of that number.
    std::unique_ptr<GameRun> start(const std::string& number, const std::string& file) {
        shot = shotPath();
        const std::string args = file.empty() ? "-level " + number : stageLevel(number, file);
        auto game = std::make_unique<GameRun>(display.name(), GAME, args,
                                              "BEAMWORKS_SCREENSHOT='" + shot + "'");
        EXPECT_TRUE(focusGame()) << game->output();
        EXPECT_TRUE(waitFrames(*game, 2)) << game->output();
        return game;
    }
    bool send(const std::string& args) { return xdotool(display.name(), args); }
    // Presses F18 or F19 (by the keycode of FK18 or FK19) and waits until `done` holds.
    template <class Done> bool pressFunctionKey(const std::string& key, Done done) {
        const std::string code = keycodeOf(display.name(), "FK" + key.substr(1));
        if (code.empty() || !send("key " + code)) {
            ADD_FAILURE() << "cannot press " << key << " (keycode '" << code << "')";
            return false;
        }
        for (int i = 0; i < 600; ++i) {
            if (done()) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }
    // Ends the game with ESC, which must end it with status 0.
    void quit(GameRun& game) {
        EXPECT_TRUE(send("key Escape"));
        EXPECT_EQ(game.wait(60), 0) << game.output();
        std::filesystem::remove(shot);
    }

    // Presses the left button on a point and drags it `pixels` to the right in ten steps.
    void dragRight(int x, int y, int pixels) {
        ASSERT_TRUE(send("mousemove " + std::to_string(x) + " " + std::to_string(y) +
                         " click 1 sleep 1.5 mousedown 1"));
        for (int i = 1; i <= 10; ++i) {
            const int step = pixels * i / 10 - pixels * (i - 1) / 10;
            ASSERT_TRUE(send("mousemove_relative " + std::to_string(step) + " 0 sleep 0.3"));
        }
        ASSERT_TRUE(send("mouseup 1 sleep 1.5"));
    }

    std::string shot;
};

} // namespace

TEST_F(GameControls, F3TwiceSwitchesWireframeOnAndOff) {
    auto game = start("70", "room.txt");
    ASSERT_TRUE(send("key F3"));
    ASSERT_TRUE(game->waitForOutput("Wireframe Mode: 1", 60)) << game->output();
    ASSERT_TRUE(send("key F3"));
    ASSERT_TRUE(game->waitForOutput("Wireframe Mode: 0", 60)) << game->output();
    const std::string out = game->output();
    EXPECT_LT(out.find("Wireframe Mode: 1"), out.find("Wireframe Mode: 0"));
    quit(*game);
}

TEST_F(GameControls, ClickingAMirrorSelectsItAndDraggingTurnsItOutOfTheBeam) {
    auto game = start("71", "room.txt");
    // With the power on the beam is traced every frame.
    ASSERT_TRUE(send("key space"));
    ASSERT_TRUE(game->waitForOutput("set Laser to: 1", 60)) << game->output();
    EXPECT_EQ(lastLaserCount(game->output()), 3);
    // The mirror's pane, left of the middle, a little above its centre (off the holder's post).
    ASSERT_TRUE(send("mousemove " + at(project(-150, 20, -200))));
    ASSERT_TRUE(send("click 1"));
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
    // A left drag sideways turns the mirror so far that the beam meets a wall before the
    // filter's plane, which no longer cuts it.
    ASSERT_TRUE(send("sleep 0.5 mousedown 1"));
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(send("mousemove_relative 40 0 sleep 0.1"));
    }
    ASSERT_TRUE(send("mouseup 1"));
    waitFrames(*game, 3);
    EXPECT_NE(lastLaserCount(game->output()), 3) << game->output();
    quit(*game);
}

TEST_F(GameControls, DoubleClickCarriesTheMirrorToAnotherWall) {
    auto game = start("72", "room.txt");
    ASSERT_TRUE(send("key space"));
    ASSERT_TRUE(game->waitForOutput("set Laser to: 1", 60)) << game->output();
    const Picture before = frameNow(*game, shot);
    const auto mirror = project(-150, 20, -200);
    // Both clicks at once: the second comes well within the double-click time.
    ASSERT_TRUE(send("mousemove " + at(mirror) + " mousedown 1 mouseup 1 mousedown 1 mouseup 1"));
    waitFrames(*game, 3);
    // The holder follows the mouse onto the right wall; a click sets it down there.
    ASSERT_TRUE(send("mousemove " + at(project(309, 60, -100))));
    waitFrames(*game, 4);
    ASSERT_TRUE(send("click 1"));
    waitFrames(*game, 3);
    // The emitter's beam now runs straight to the back wall.
    EXPECT_EQ(lastLaserCount(game->output()), 1) << game->output();
    const Picture after = frameNow(*game, shot);
    ASSERT_EQ(after.width, 1024);
    EXPECT_GT(
        difference(before, after, mirror[0] - 30, mirror[1] - 30, mirror[0] + 30, mirror[1] + 30),
        30L * 60 * 60);
    quit(*game);
}

TEST_F(GameControls, DisplaySwitchTwiceLeavesAWorkingWindowAndInterface) {
    auto game = start("73", "room.txt");
    // The window is made anew with every OpenGL object: the start-up report comes again.
    const auto reports = [&] {
        const std::string out = game->output();
        long count = 0;
        for (std::size_t at = out.find("OpenGL Version"); at != std::string::npos;
             at = out.find("OpenGL Version", at + 1)) {
            ++count;
        }
        return count;
    };
    for (int n = 2; n <= 3; ++n) {
        ASSERT_TRUE(pressFunctionKey("F19", [&] { return reports() >= n; })) << game->output();
        ASSERT_EQ(reports(), n);
        ASSERT_TRUE(waitFrames(*game, 2));
        // Without a window manager the new window gets the keys while the pointer is over it.
        ASSERT_TRUE(send("mousemove 512 384"));
        send("search --name '^Beamworks$' windowfocus");
    }
    // Keys and the interface work: the power key, then a click on the wireframe switch.
    ASSERT_TRUE(send("key space"));
    ASSERT_TRUE(game->waitForOutput("set Laser to: 1", 60)) << game->output();
    ASSERT_TRUE(send("mousemove " + std::to_string(WIREFRAME_SWITCH_X) + " " +
                     std::to_string(WIREFRAME_SWITCH_Y) + " click 1"));
    ASSERT_TRUE(game->waitForOutput("Wireframe Mode: 1", 60)) << game->output();
    const Picture p = frameNow(*game, shot);
    ASSERT_EQ(p.width, 1024);
    quit(*game);
}

TEST_F(GameControls, MusicKeyPausesAndResumesWithoutErrors) {
    auto game = start("74", "room.txt");
    const auto printed = [&](const char* text) {
        return [&game, text] { return game->output().find(text) != std::string::npos; };
    };
    ASSERT_TRUE(pressFunctionKey("F18", printed("\nAudio: 0\n"))) << game->output();
    ASSERT_TRUE(pressFunctionKey("F18", printed("\nAudio: 1\n"))) << game->output();
    waitFrames(*game, 2);
    quit(*game);
    EXPECT_EQ(game->output().find("FMOD error!"), std::string::npos) << game->output();
}

TEST_F(GameControls, HoverShowsTheCaptionAndAClickSwitchesWireframe) {
    auto game = start("75", "room.txt");
    const Picture plain = frameNow(*game, shot);
    ASSERT_EQ(plain.width, 1024);
    // The frame-rate counter is a short text in the middle of the field.
    const int counterWidth = counterTextWidth(plain);
    EXPECT_GT(counterWidth, 40);
    EXPECT_LT(counterWidth, 130);
    ASSERT_TRUE(send("mousemove " + std::to_string(WIREFRAME_SWITCH_X) + " " +
                     std::to_string(WIREFRAME_SWITCH_Y)));
    const Picture hover = frameNow(*game, shot);
    // The switch's caption, a longer text, takes the counter's place.
    EXPECT_GT(counterTextWidth(hover), 150);
    ASSERT_TRUE(send("click 1"));
    ASSERT_TRUE(game->waitForOutput("Wireframe Mode: 1", 60)) << game->output();
    // The switch shows its other picture (checked away from the pointer's own spot).
    ASSERT_TRUE(send("mousemove 512 400"));
    const Picture on = frameNow(*game, shot);
    EXPECT_GT(difference(plain, on, WIREFRAME_SWITCH_X - 30, 0, WIREFRAME_SWITCH_X + 30, 8),
              20L * 60 * 8);
    quit(*game);
}

TEST_F(GameControls, PowerButtonSwitchesTheLaserAndBothBarsAreDrawn) {
    auto game = start("76", "room.txt");
    const Picture off = frameNow(*game, shot);
    ASSERT_EQ(off.width, 1024);
    // Both bars span the window's width, above and below the scene, in their dark blue.
    const auto barColour = [](const std::array<int, 3>& c) {
        return c[2] > c[0] && brightness(c) < 330;
    };
    for (int x = 8; x < 1024; x += 101) {
        EXPECT_TRUE(barColour(off.at(x, 4))) << "top bar at " << x;
        EXPECT_TRUE(barColour(off.at(x, 763))) << "bottom bar at " << x;
    }
    EXPECT_GT(counterTextWidth(off), 40);
    ASSERT_TRUE(send("mousemove " + std::to_string(POWER_BUTTON_X) + " " +
                     std::to_string(POWER_BUTTON_Y) + " click 1"));
    ASSERT_TRUE(game->waitForOutput("set Laser to: 1", 60)) << game->output();
    ASSERT_TRUE(send("mousemove 512 400"));
    const Picture on = frameNow(*game, shot);
    // The beam past the red filter lights up, and the power switch changes its picture.
    const auto red = project(200, 0, -196);
    EXPECT_GT(redness(on, red), redness(off, red) + 60);
    EXPECT_GT(difference(off, on, POWER_LEFT, 768 - 100, POWER_LEFT + 124, 768), 20000L);
    quit(*game);
}

TEST_F(GameControls, TheSecondLevelIsSolvedWithTheMouseAlone) {
    auto game = start("2", "");
    ASSERT_TRUE(send("key space"));
    ASSERT_TRUE(game->waitForOutput("set Laser to: 1", 60)) << game->output();
    // The first mirror turns 15 degrees to send the beam through the red filter; the second
    // turns 30 degrees, in two drags as the window's edge is near, towards the red goal.
    dragRight(151, 499, 171);
    dragRight(790, 499, 230);
    dragRight(790, 499, 111);
    const Picture p = frameNow(*game, shot);
    ASSERT_EQ(p.width, 1024);
    // "LEVEL SOLVED" in large orange letters across the middle.
    int orange = 0;
    for (int y = 360; y < 410; y += 2) {
        for (int x = 290; x < 730; x += 2) {
            const auto c = p.at(x, y);
            orange += c[0] > 100 && c[0] - c[1] > 30 && c[1] > c[2] + 15;
        }
    }
    EXPECT_GT(orange, 300) << game->output();
    quit(*game);
}

namespace {

// How many different colours (in steps of 8) the scene between the bars shows: a view turned to
// no number is one flat colour.
int sceneColours(const Picture& p) {
    std::vector<bool> seen(32 * 32 * 32, false);
    int count = 0;
    for (int y = 100; y < 660; y += 3) {
        for (int x = 0; x < p.width; x += 3) {
            const auto c = p.at(x, y);
            const int key = (c[0] / 8) * 1024 + (c[1] / 8) * 32 + c[2] / 8;
            count += !seen[key];
            seen[key] = true;
        }
    }
    return count;
}

} // namespace

TEST_F(GameControls, TiltsAndRandomTurnsOfTheViewKeepTheSceneAndHomeBringsBackTheStart) {
    auto game = start("1", "");
    // The level's start message goes after three seconds.
    ASSERT_TRUE(send("mousemove 512 400 sleep 3.5"));
    const Picture home = frameNow(*game, shot);
    ASSERT_EQ(home.width, 1024);
    ASSERT_GT(sceneColours(home), 40);
    // The playtest's fault: four drags of 10 pixels down with the right button.
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(send("mousemove 512 400 mousedown 3 sleep 0.3 mousemove_relative 0 10 "
                         "sleep 0.3 mouseup 3 sleep 0.2"));
    }
    const Picture tilted = frameNow(*game, shot);
    EXPECT_GT(sceneColours(tilted), 40);
    // A hundred random drags in one go.
    std::mt19937 random(15);
    std::uniform_int_distribution<int> delta(-40, 40);
    std::string drags;
    for (int i = 0; i < 100; ++i) {
        drags += "mousemove 512 400 mousedown 3 sleep 0.05 mousemove_relative -- " +
                 std::to_string(delta(random)) + " " + std::to_string(delta(random)) +
                 " sleep 0.05 mouseup 3 ";
    }
    ASSERT_TRUE(send(drags));
    const Picture turned = frameNow(*game, shot);
    EXPECT_GT(sceneColours(turned), 40);
    ASSERT_TRUE(send("key Home"));
    ASSERT_TRUE(game->waitForOutput("View reset", 60)) << game->output();
    const Picture back = frameNow(*game, shot);
    ASSERT_EQ(back.width, 1024);
    EXPECT_LT(difference(home, back, 0, 100, 1024, 660), 1024L * 560 / 100);
    quit(*game);
}
