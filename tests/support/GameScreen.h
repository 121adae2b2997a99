#pragma once
// The real game on a virtual display, seen through its screenshots: test levels staged into the
// game folder, runs that end after some frames or after some keys, pictures read back, and where
// a world point of a level's start view appears on screen.

#include "assets/ImagesPng.h"
#include "core/Matrix.h"
#include "support/GameWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace gamescreen {

inline const std::string GAME = BEAMWORKS_GAME_DIR;
inline const std::string LEVELS = std::string(BEAMWORKS_SOURCE_DIR) + "/tests/data/window/";

// Copies a test level into the game folder as level N so that "-level N" opens it.
inline std::string stageLevel(const std::string& n, const std::string& file = "room.txt") {
    std::filesystem::copy_file(LEVELS + file, GAME + "/level" + n + ".txt",
                               std::filesystem::copy_options::overwrite_existing);
    return "-level " + n;
}

/// A screenshot, rows from the top.
struct Picture : RgbaImage {
    std::array<int, 3> at(int x, int y) const {
        return {RgbaImage::at(x, y, 0), RgbaImage::at(x, y, 1), RgbaImage::at(x, y, 2)};
    }
};

/// The picture in the file, or one of width 0.
inline Picture load(const std::string& path) {
    Picture p;
    loadRgbaImage(path, p); // untouched on failure
    return p;
}

// Where a world point appears in the 1024 x 768 window: a level's start view (the camera at
// `eye`, looking along -z, tilted by `pitch` degrees, negative down) and the game's perspective
// (40 degrees, near 0.5, far 2000).
inline std::array<int, 2> project(float x, float y, float z,
                                  const std::array<float, 3>& eye = {0, 40, 280},
                                  double pitch = 0) {
    Point p{x - eye[0], y - eye[1], z - eye[2], 1};
    const double a = -pitch / 180.0 * PI;
    const double py = p[1] * std::cos(a) - p[2] * std::sin(a);
    p[2] = static_cast<float>(p[1] * std::sin(a) + p[2] * std::cos(a));
    p[1] = static_cast<float>(py);
    const double f = 1.0 / std::tan(20.0 / 180.0 * PI);
    const double aspect = 1024.0 / 768.0;
    const double ndcX = f / aspect * p[0] / -p[2];
    const double ndcY = f * p[1] / -p[2];
    return {static_cast<int>((ndcX + 1) / 2 * 1024), static_cast<int>((1 - ndcY) / 2 * 768)};
}

class GameWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!display.ok()) {
            GTEST_SKIP() << "no virtual display (Xvfb)";
        }
        // The pointer where a fresh display has it, whatever the case before left.
        send("mousemove 512 384");
    }
    // Runs a test level for a number of frames and returns the screenshot of the last one;
    // `env` adds environment variables ("NAME=value ...").
    Picture frames(const std::string& level, int count, const std::string& file = "room.txt",
                   const std::string& env = "") {
        const std::string shot = shotPath();
        GameRun game(display.name(), GAME, stageLevel(level, file),
                     env + " BEAMWORKS_FRAMES=" + std::to_string(count) +
                         " BEAMWORKS_SCREENSHOT='" + shot + "'");
        EXPECT_EQ(game.wait(120), 0) << game.output();
        lastOutput = game.output();
        Picture p = load(shot);
        std::filesystem::remove(shot);
        return p;
    }
    std::string shotPath() const {
        const std::string shot = std::string(::testing::TempDir()) + "/beamworks_shot_" +
                                 std::to_string(getpid()) + ".png";
        std::filesystem::remove(shot);
        return shot;
    }
    // Waits until the game has drawn `count` more frames (status lines) than when called.
    static bool waitFrames(const GameRun& game, int count) {
        const auto statusLines = [&] {
            const std::string out = game.output();
            return std::count(out.begin(), out.end(), '\r');
        };
        const long start = statusLines();
        return waitUntil([&] { return statusLines() >= start + count; });
    }
    // The frame on screen a few frames from now, from a game that rewrites its screenshot after
    // every frame. The file may be caught half written: read it until it is whole.
    static Picture frameNow(const GameRun& game, const std::string& shot) {
        waitFrames(game, 3);
        Picture p;
        waitUntil(
            [&] {
                const std::string copy = shot + ".copy.png";
                std::error_code error;
                std::filesystem::copy_file(
                    shot, copy, std::filesystem::copy_options::overwrite_existing, error);
                p = error ? Picture{} : load(copy);
                std::filesystem::remove(copy, error);
                return p.width > 0;
            },
            5);
        return p;
    }

    // Starts the game in `dir` with the screenshot (`shot`) rewritten after every frame, focuses
    // its window, closes the level's introduction (with a Shift press, which does nothing else)
    // unless told not to, and lets two frames pass.
    std::unique_ptr<GameRun> launch(const std::string& args, const std::string& dir = GAME,
                                    const std::string& env = "", bool closeIntroduction = true) {
        shot = shotPath();
        auto game = std::make_unique<GameRun>(display.name(), dir, args,
                                              "BEAMWORKS_SCREENSHOT='" + shot + "' " + env);
        EXPECT_TRUE(send("search --sync --name '^Beamworks$' windowfocus --sync" +
                         std::string(closeIntroduction ? " key shift" : "")))
            << game->output();
        EXPECT_TRUE(waitFrames(*game, 2)) << game->output();
        return game;
    }
    // Starts a level: an empty file name plays the shipped level of that number; `env` adds
    // environment variables.
    std::unique_ptr<GameRun> start(const std::string& number, const std::string& file,
                                   const std::string& env = "") {
        return launch(file.empty() ? "-level " + number : stageLevel(number, file), GAME, env);
    }
    bool send(const std::string& args) { return xdotool(display.name(), args); }
    // Ends the game with ESC (after a Shift press that closes an introduction still open), which
    // must end it with status 0.
    void quit(GameRun& game) {
        EXPECT_TRUE(send("key shift Escape"));
        EXPECT_EQ(game.wait(60), 0) << game.output();
        std::filesystem::remove(shot);
    }

    const VirtualDisplay& display = sharedDisplay();
    std::string lastOutput;
    std::string shot;
};

/// A game window with folders of its own for the player's data and settings (XDG_DATA_HOME,
/// XDG_CONFIG_HOME: env()), made empty for each test and removed after it.
class PlayerFolders : public GameWindow {
  protected:
    void SetUp() override {
        home = std::filesystem::path(::testing::TempDir()) /
               ("beamworks-player-" + std::to_string(getpid()));
        std::filesystem::remove_all(home);
        std::filesystem::create_directories(home / "data" / "beamworks" / "levels");
        std::filesystem::create_directories(home / "config" / "beamworks");
    }
    void TearDown() override { std::filesystem::remove_all(home); }

    std::string env() const {
        return "XDG_DATA_HOME='" + (home / "data").string() + "' XDG_CONFIG_HOME='" +
               (home / "config").string() + "'";
    }

    /// Waits until the game's output holds `text` `times` times.
    static bool waitForCount(const GameRun& game, const std::string& text, int times) {
        return waitUntil([&] {
            const std::string out = game.output();
            int found = 0;
            for (std::size_t at = out.find(text); at != std::string::npos;
                 at = out.find(text, at + 1)) {
                ++found;
            }
            return found >= times;
        });
    }

    std::filesystem::path home;
};

/// The laser count of the game's last status line, or -1 before the first.
inline int lastLaserCount(const std::string& output) {
    const std::string label = "Number of Lasers: ";
    const std::size_t at = output.rfind(label);
    return at == std::string::npos ? -1 : std::atoi(output.c_str() + at + label.size());
}

inline int brightness(const std::array<int, 3>& c) {
    return c[0] + c[1] + c[2];
}

// Both interface bars span the picture's width, along its top and bottom, in their dark blue (or
// the cyan of a switch's lit lamp).
inline void expectBarsAlongTheEdges(const Picture& p) {
    const auto barColour = [](const std::array<int, 3>& c) {
        return c[2] > c[0] && (brightness(c) < 330 || c[1] > c[0] + 30);
    };
    for (int x = 8; x < p.width; x += 97) {
        EXPECT_TRUE(barColour(p.at(x, 3))) << "top bar at " << x;
        EXPECT_TRUE(barColour(p.at(x, p.height - 4))) << "bottom bar at " << x;
    }
}

// The pixels of a rectangle (clipped to the pictures) whose brightness differs between two
// pictures by more than `threshold`.
inline long changedPixels(const Picture& a, const Picture& b, int x0, int y0, int x1, int y1,
                          int threshold = 60) {
    long n = 0;
    for (int y = std::max(0, y0); y < std::min({y1, a.height, b.height}); ++y) {
        for (int x = std::max(0, x0); x < std::min({x1, a.width, b.width}); ++x) {
            n += std::abs(brightness(a.at(x, y)) - brightness(b.at(x, y))) > threshold;
        }
    }
    return n;
}

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

// The brightest pixel within `radius` rows of a projected point: a beam is a few pixels thick,
// and where exactly its middle falls depends on rounding.
inline std::array<int, 3> beamPixel(const Picture& p, const std::array<int, 2>& at,
                                    int radius = 12) {
    std::array<int, 3> best{0, 0, 0};
    for (int dy = -radius; dy <= radius; ++dy) {
        const int y = std::clamp(at[1] + dy, 0, p.height - 1);
        const auto c = p.at(std::clamp(at[0], 0, p.width - 1), y);
        if (brightness(c) > brightness(best)) {
            best = c;
        }
    }
    return best;
}

} // namespace gamescreen
