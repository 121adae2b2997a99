// The real game in a window on a virtual display: the status line, the window's close button,
// and pixels of what it draws. (Every game the other window tests end with ESC
// must exit with status 0.)

#include "support/GameScreen.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace gamescreen;

TEST_F(GameWindow, TheRoomWithItsElementsAndTheStatusLineCountingTheBeams) {
    const Picture p = frames("91", 3);
    EXPECT_NE(lastOutput.find(" - Number of Lasers: 3     "), std::string::npos) << lastOutput;
    ASSERT_EQ(p.width, 1024);
    ASSERT_EQ(p.height, 768);
    // The mirror pane shows the room reflected, tinted by its light blue, where the level puts
    // it; the emitter's barrel stands in front of its stand.
    const auto m = p.at(project(-150, 0, -200)[0], project(-150, 0, -200)[1]);
    EXPECT_GT(brightness(m), 60);
    EXPECT_GT(m[2], m[0]);
    EXPECT_GT(brightness(p.at(project(-150, 0, 0)[0], project(-150, 0, 0)[1])), 60);
    // The back wall fills the middle above the elements: lit, and textured (not one flat
    // colour).
    int lo = 765, hi = 0;
    for (int x = 412; x < 612; x += 4) {
        lo = std::min(lo, brightness(p.at(x, 200)));
        hi = std::max(hi, brightness(p.at(x, 200)));
    }
    EXPECT_GT(lo, 30);
    EXPECT_GT(hi - lo, 10);
}

namespace {

// The number of pixels of the scene (below the top bar's counter field, whose frame rate differs
// from run to run) in which two pictures differ at all.
long differingPixels(const Picture& a, const Picture& b) {
    return changedPixels(a, b, 0, 70, a.width, a.height, 0);
}

const char* const EVERY_PASS = "BEAMWORKS_SHADOW_EVERY_FRAME=1 BEAMWORKS_FAST_PASSES=0";

} // namespace

TEST_F(GameWindow, ABlockShadowsTheWallBehindItAndTheKeptShadowMapLooksAsIfDrawnEveryFrame) {
    struct View {
        const char* file;
        std::array<float, 3> eye;
    };
    Picture kept;
    for (const View& v :
         {View{"shadow.txt", {0, 100, 250}}, View{"shadow-moved.txt", {60, 130, 250}}}) {
        const Picture p = frames("81", 4, v.file);
        ASSERT_EQ(p.width, 1024) << v.file;
        if (kept.width == 0) {
            kept = p;
            EXPECT_NE(lastOutput.find("Shadow map passes: 1\n"), std::string::npos) << lastOutput;
        }
        const auto inShadow = project(0, 20, -290, v.eye);
        const auto beside = project(170, 20, -290, v.eye);
        // Average a patch of several stones: the wall's stones and joints differ a lot.
        const auto patch = [&](const std::array<int, 2>& at) {
            int sum = 0;
            for (int dy = -40; dy <= 40; dy += 4) {
                for (int dx = -40; dx <= 40; dx += 4) {
                    sum += brightness(p.at(at[0] + dx, at[1] + dy));
                }
            }
            return sum / (21 * 21);
        };
        EXPECT_LT(patch(inShadow) * 10, patch(beside) * 8)
            << v.file << " shadow at " << inShadow[0] << "," << inShadow[1] << " beside at "
            << beside[0] << "," << beside[1];
    }
    // The still scene drew its shadow map once; drawn every frame it looks the same.
    const Picture everyFrame = frames("81", 4, "shadow.txt", "BEAMWORKS_SHADOW_EVERY_FRAME=1");
    EXPECT_NE(lastOutput.find("Shadow map passes: 4\n"), std::string::npos) << lastOutput;
    ASSERT_EQ(everyFrame.width, 1024);
    EXPECT_EQ(differingPixels(kept, everyFrame), 0);
    // With shadows off in the player's settings no map is drawn, and the wall is lit.
    ScratchDir config("config");
    std::filesystem::create_directories(config.path / "beamworks");
    config.write("beamworks/settings.conf", "shadows = off\n");
    const Picture lit = frames("81", 4, "shadow.txt", "XDG_CONFIG_HOME=" + config.path.string());
    EXPECT_NE(lastOutput.find("Shadow map passes: 0\n"), std::string::npos) << lastOutput;
    const auto [x, y] = project(0, 20, -290, {0, 100, 250});
    EXPECT_GT(brightness(lit.at(x, y)) * 8, brightness(kept.at(x, y)) * 10);
}

TEST_F(GameWindow, AMirrorShowsItsReflectionInsideItsOutlineOnly) {
    auto game = start("82", "mirror.txt");
    const Picture on = frameNow(*game, shot);
    ASSERT_TRUE(send("key F11"));
    ASSERT_TRUE(game->waitForOutput("Deactivate Reflections", 60)) << game->output();
    const Picture off = frameNow(*game, shot);
    quit(*game);
    ASSERT_EQ(on.width, 1024);
    ASSERT_EQ(off.width, 1024);
    // The mirror's pane (|x|, |y| <= 87 around (0, 60, -200)) seen from (0, 60, 250).
    const std::array<float, 3> eye{0, 60, 250};
    const auto topLeft = project(-87, 147, -190, eye), bottomRight = project(87, -27, -190, eye);
    long inside = 0, outside = 0;
    // The interface's bars (the top and bottom 80 rows) show counters and flashed messages.
    for (int y = 80; y < 688; y += 3) {
        for (int x = 0; x < 1024; x += 3) {
            const int d = std::abs(brightness(on.at(x, y)) - brightness(off.at(x, y)));
            const bool in = x > topLeft[0] + 4 && x < bottomRight[0] - 4 && y > topLeft[1] + 4 &&
                            y < bottomRight[1] - 4;
            const bool out = x < topLeft[0] - 30 || x > bottomRight[0] + 30 ||
                             y < topLeft[1] - 30 || y > bottomRight[1] + 30;
            inside += in && d > 30;
            outside += out && d > 30;
        }
    }
    EXPECT_GT(inside, 500); // the reflection changes the mirror's face
    EXPECT_LT(outside, 20); // and nothing else
}

TEST_F(GameWindow, BeamsShowWithThePowerOnRedBehindAFilterAndSolidWithoutTransparency) {
    const std::array<float, 3> eye{0, 40, 300};
    const auto red = [](const std::array<int, 3>& px) {
        return px[0] > 80 && px[1] < 30 && px[2] < 30;
    };
    const auto white = [](const std::array<int, 3>& px) { return px[1] > 70 && px[2] > 70; };
    struct Case {
        const char* file;
        float firstZ, twinZ; // the emitter's own beam and its reflected twin
        bool firstRed;       // the emitter's beam is the one behind the filter
    };
    for (const Case& c :
         {Case{"filter-front.txt", 0, -300, false}, Case{"filter-back.txt", -200, 100, true}}) {
        auto game = start("83", c.file);
        const Picture dark = frameNow(*game, shot);
        ASSERT_TRUE(send("key space"));
        ASSERT_TRUE(game->waitForOutput("set Laser to: 1", 60)) << game->output();
        const Picture lit = frameNow(*game, shot);
        ASSERT_EQ(lit.width, 1024) << c.file;
        // Behind the filter a beam only adds red; in front of it, it adds light in every channel.
        const auto first = beamPixel(lit, project(100, 0, c.firstZ, eye));
        const auto twin = beamPixel(lit, project(100, 0, c.twinZ, eye));
        EXPECT_EQ(red(first), c.firstRed)
            << c.file << " " << first[0] << "," << first[1] << "," << first[2];
        EXPECT_EQ(white(first), !c.firstRed) << c.file;
        EXPECT_EQ(red(twin), !c.firstRed)
            << c.file << " " << twin[0] << "," << twin[1] << "," << twin[2];
        EXPECT_EQ(white(twin), c.firstRed) << c.file;
        // Away from the filter both beams are white.
        const auto beamAt = project(-30, 0, c.firstZ, eye);
        EXPECT_TRUE(white(beamPixel(lit, beamAt))) << c.file;
        // With the power off there is no beam, but the filter tints the wall behind it red.
        ASSERT_EQ(dark.width, 1024) << c.file;
        EXPECT_GT(brightness(beamPixel(lit, beamAt)), brightness(beamPixel(dark, beamAt)) + 100)
            << c.file;
        const auto filterAt = project(100, 30, -100, eye);
        const auto f = dark.at(filterAt[0], filterAt[1]);
        EXPECT_GT(f[0], f[1] + 20) << c.file;
        if (c.firstRed) {
            quit(*game);
            continue;
        }
        // Transparency off: the filter is drawn as an opaque dark red pane, the beam as a rod.
        ASSERT_TRUE(send("key F9"));
        ASSERT_TRUE(game->waitForOutput("Transparency: 0", 60)) << game->output();
        const Picture opaque = frameNow(*game, shot);
        quit(*game);
        ASSERT_EQ(opaque.width, 1024);
        const auto o = opaque.at(filterAt[0], filterAt[1]);
        EXPECT_LT(o[1] + o[2], 40);
        EXPECT_GT(brightness(beamPixel(opaque, project(-100, 0, 0, eye))), 300);
    }
}

TEST_F(GameWindow, AMarkerWiderThanTheBeamShowsWhereItMeetsAWall) {
    auto game = start("84", "marker.txt");
    const Picture dark = frameNow(*game, shot);
    ASSERT_TRUE(send("key space"));
    ASSERT_TRUE(game->waitForOutput("set Laser to: 1", 60)) << game->output();
    const Picture lit = frameNow(*game, shot);
    quit(*game);
    // Just above the beam, which runs along x at z = -200 onto the block's face at x = 120.
    const auto lightAbove = [&](const std::array<int, 2>& at) {
        return changedPixels(dark, lit, at[0] - 5, at[1] - 9, at[0] + 6, at[1] - 3);
    };
    EXPECT_GT(lightAbove(project(120, 0, -200)), 15);
    EXPECT_EQ(lightAbove(project(-50, 0, -200)), 0);
}

TEST_F(GameWindow, ReflectionsInReflectionsLookTheSameConfinedToTheirMirrorsAndDrawnWhole) {
    // One mirror in view, one half in view and one behind the viewer, both seen in the first.
    const Picture fast = frames("86", 3, "mirrors.txt");
    // After every frame the stencil marks are gone and the matrix stack is as it was.
    for (const char* line : {"Stencil non-zero pixels after each frame: 0 0 0\n",
                             "Modelview stack depth after each frame: 1 1 1\n"}) {
        EXPECT_NE(lastOutput.find(line), std::string::npos) << lastOutput;
    }
    const Picture whole = frames("86", 3, "mirrors.txt", EVERY_PASS);
    ASSERT_EQ(fast.width, 1024);
    ASSERT_EQ(whole.width, 1024);
    EXPECT_EQ(differingPixels(fast, whole), 0);
    EXPECT_NE(lastOutput.find("Stencil non-zero pixels after each frame: 0 0 0\n"),
              std::string::npos)
        << lastOutput;
}

TEST_F(GameWindow, AMirrorTurnedMovesItsShadowAtOnceAndTheCloseButtonEndsTheGame) {
    // The mirror stands between the lamp and the back wall; its shadow shows beside it.
    const std::array<float, 3> eye{0, 100, 250};
    const auto pane = project(0, 160, -150, eye);
    const auto turned = [&](const std::string& env, Picture& before, bool closeButton) {
        auto game = start("87", "shadow-mirror.txt", env);
        EXPECT_TRUE(send("mousemove " + at(pane) + " click 1"));
        EXPECT_TRUE(game->waitForOutput("---- 2 ----", 60)) << game->output();
        before = frameNow(*game, shot);
        EXPECT_TRUE(send("key bracketright bracketright bracketright bracketright "
                         "bracketright bracketright"));
        const Picture after = frameNow(*game, shot);
        if (!closeButton) {
            quit(*game);
            return after;
        }
        const std::string id =
            runIn(".", "DISPLAY=" + display.name() + " xdotool search --name '^Beamworks$'").out;
        EXPECT_FALSE(id.empty());
        const std::string send = std::string(BEAMWORKS_BINARY_DIR) + "/tests/app/send-close " +
                                 display.name() + " " + id;
        EXPECT_EQ(std::system(send.c_str()), 0);
        EXPECT_EQ(game->wait(30), 0) << game->output();
        return after;
    };
    Picture before, unused;
    const Picture kept = turned("", before, false);
    const Picture everyFrame = turned("BEAMWORKS_SHADOW_EVERY_FRAME=1", unused, true);
    ASSERT_EQ(kept.width, 1024);
    ASSERT_EQ(before.width, 1024);
    ASSERT_EQ(everyFrame.width, 1024);
    // Turned 30 degrees, the pane's shadow reaches further left on the back wall, beyond the
    // frame: that patch of wall darkened.
    const auto wall = project(-215, 80, -310, eye);
    EXPECT_GT(difference(before, kept, wall[0] - 30, wall[1] - 100, wall[0] + 30, wall[1] + 100),
              100000);
    // Drawn every frame, the shadow map gives the same picture.
    EXPECT_EQ(differingPixels(kept, everyFrame), 0);
}
