// The real game driven with keys and the mouse on a virtual display: turns of the view and the
// Home key, the interface's power switch and bars, the music key and the display-mode switch.

#include "app/Window.h"
#include "support/GameScreen.h"
#include "support/GraphicsDrivers.h"
#include "ui/UserInterface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <thread>

using namespace gamescreen;

class GameControls : public GameWindow {};

// This program opens an OpenGL window of its own to ask the interface where its switches are.
extern "C" const char* __lsan_default_suppressions() {
    return GRAPHICS_DRIVER_LEAKS;
}

namespace {

struct Place {
    gcn::Rectangle plate, button; // a switch's picture and the button on it, in the window
};

gcn::Rectangle absolute(const gcn::Widget& w) {
    int x = 0, y = 0;
    w.getAbsolutePosition(x, y);
    return {x, y, w.getWidth(), w.getHeight()};
}

std::array<int, 2> centre(const gcn::Rectangle& r) {
    return {r.x + r.width / 2, r.y + r.height / 2};
}

// Where the game's interface puts the wireframe and power switches in its 1024 x 768 window,
// asked of the interface itself: built once, with the game folder's pictures, in a window of this
// program's own that is closed again before any game starts.
const std::map<std::string, Place>& switchPlaces() {
    static const std::map<std::string, Place> places = [] {
        std::map<std::string, Place> found;
        ::setenv("DISPLAY", sharedDisplay().name().c_str(), 1);
        // The virtual display, busy with the games of other tests, now and then refuses a
        // window: a few tries.
        bool open = false;
        for (int attempt = 0; attempt < 3 && !open; ++attempt) {
            if (attempt > 0) {
                windowTerminate();
                std::this_thread::sleep_for(std::chrono::seconds(1));
            }
            open = windowInit() && windowOpen(1024, 768, 0, 0, 0, 8, 16, 16, false);
        }
        if (!open) {
            return found;
        }
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(GAME);
        testing::internal::CaptureStdout(); // the loader lists every picture
        {
            const UserInterface ui(1024, 768, nullptr, nullptr);
            for (const char* id : {"wireframe", "power"}) {
                const gcn::ToggleButton& s = *ui.findToggle(id);
                found[id] = {absolute(s), absolute(*s.getButton())};
            }
        }
        testing::internal::GetCapturedStdout();
        std::filesystem::current_path(previous);
        keepGraphicsDriversLoaded();
        windowTerminate();
        return found;
    }();
    return places;
}

// Presses a key and waits until `done` holds.
template <class Done> bool pressAndWait(const std::string& display, const char* key, Done done) {
    return xdotool(display, std::string("key ") + key) && waitUntil(done);
}

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

TEST_F(GameControls, SmallTiltsOfTheViewKeepTheSceneAndHomeBringsBackTheStart) {
    auto game = start("1", "");
    ASSERT_TRUE(send("mousemove 512 400"));
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
    ASSERT_TRUE(send("key Home"));
    ASSERT_TRUE(game->waitForOutput("View reset", 60)) << game->output();
    const Picture back = frameNow(*game, shot);
    ASSERT_EQ(back.width, 1024);
    EXPECT_LT(difference(home, back, 0, 100, 1024, 660), 1024L * 560 / 100);
    quit(*game);
}

TEST_F(GameControls, PowerSwitchMusicKeyAndTwoDisplaySwitchesLeaveAWorkingGame) {
    const auto& places = switchPlaces();
    ASSERT_EQ(places.size(), 2u);
    const gcn::Rectangle plate = places.at("power").plate;
    auto game = start("73", "room.txt");
    const Picture off = frameNow(*game, shot);
    ASSERT_EQ(off.width, 1024);
    expectBarsAlongTheEdges(off);
    // The power switch switches the laser and shows its other picture.
    ASSERT_TRUE(send("mousemove " + at(centre(places.at("power").button)) + " click 1"));
    ASSERT_TRUE(game->waitForOutput("set Laser to: 1", 60)) << game->output();
    ASSERT_TRUE(send("mousemove 512 400"));
    const Picture on = frameNow(*game, shot);
    EXPECT_GT(difference(off, on, plate.x, plate.y, plate.x + plate.width,
                         std::min(768, plate.y + plate.height)),
              20000L);

    // The music key pauses and resumes the music.
    const auto printed = [&](const char* text) {
        return [&game, text] { return game->output().find(text) != std::string::npos; };
    };
    ASSERT_TRUE(pressAndWait(display.name(), "m", printed("\nAudio: 0\n"))) << game->output();
    ASSERT_TRUE(pressAndWait(display.name(), "m", printed("\nAudio: 1\n"))) << game->output();

    // The window is made anew with every OpenGL object, twice: the start-up report comes again.
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
        ASSERT_TRUE(pressAndWait(display.name(), "f", [&] { return reports() >= n; }))
            << game->output();
        ASSERT_EQ(reports(), n);
        ASSERT_TRUE(waitFrames(*game, 2));
        // Without a window manager the new window gets the keys while the pointer is over it.
        ASSERT_TRUE(send("mousemove 512 384"));
        send("search --name '^Beamworks$' windowfocus");
    }
    // Keys and the interface work: the power key, then a click on the wireframe switch.
    ASSERT_TRUE(send("key space"));
    ASSERT_TRUE(game->waitForOutput("set Laser to: 0", 60)) << game->output();
    ASSERT_TRUE(send("mousemove " + at(centre(places.at("wireframe").button)) + " click 1"));
    ASSERT_TRUE(game->waitForOutput("Wireframe Mode: 1", 60)) << game->output();
    ASSERT_EQ(frameNow(*game, shot).width, 1024);
    quit(*game);
    EXPECT_EQ(game->output().find("FMOD error!"), std::string::npos) << game->output();
}
