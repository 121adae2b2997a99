#pragma once
// The real game driven with keys and the mouse on the test program's virtual display: a level
// started with its screenshot rewritten after every frame, keys, drags and a clean ESC.

#include "support/GameScreen.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace gamescreen {

// Sum of the absolute brightness differences of two pictures over a rectangle.
inline long difference(const Picture& a, const Picture& b, int x0, int y0, int x1, int y1) {
    long sum = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            sum += std::abs(brightness(a.at(x, y)) - brightness(b.at(x, y)));
        }
    }
    return sum;
}

// A point as xdotool's "x y".
inline std::string at(const std::array<int, 2>& p) {
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
    // Ends the game with ESC, which must end it with status 0.
    void quit(GameRun& game) {
        EXPECT_TRUE(send("key Escape"));
        EXPECT_EQ(game.wait(60), 0) << game.output();
        std::filesystem::remove(shot);
    }

    std::string shot;
};

} // namespace gamescreen
