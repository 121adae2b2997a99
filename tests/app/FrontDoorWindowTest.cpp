// The game started without a level, on a virtual display: the title, the levels it leads to,
// the settings screen and its file, and the keys that play without a mouse.

#include "support/GameScreen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace gamescreen;
namespace fs = std::filesystem;

namespace {

class FrontDoor : public PlayerFolders {
  protected:
    fs::path settingsFile() const { return home / "config" / "beamworks" / "settings.conf"; }

    // The game without a level, up to its title.
    std::unique_ptr<GameRun> openTitle() {
        auto game = launch("", GAME, env(), false);
        EXPECT_TRUE(game->waitForOutput("Menu: title\n", 60)) << game->output();
        return game;
    }
};

} // namespace

TEST_F(FrontDoor, TheTitleStartsLevelOneAndEscInTheLevelGoesBackToIt) {
    auto game = openTitle();
    // The title's room is level 1's; Enter plays it.
    ASSERT_TRUE(send("key Return"));
    ASSERT_TRUE(waitForCount(*game, "Level: level1.txt - ", 2)) << game->output();
    ASSERT_TRUE(send("key shift Escape"));
    ASSERT_TRUE(waitForCount(*game, "Menu: title\n", 2)) << game->output();
    // ESC on the title ends the game.
    ASSERT_TRUE(send("key Escape"));
    EXPECT_EQ(game->wait(60), 0) << game->output();
}

TEST_F(FrontDoor, ContinuePlaysTheFirstLevelNotSolvedAndTheMapOffersEveryLevel) {
    std::ofstream(home / "data" / "beamworks" / "progress.txt")
        << "level1.txt\nlevel2.txt\nlevel3.txt\n";
    auto game = openTitle();
    ASSERT_TRUE(send("key Return"));
    ASSERT_TRUE(waitForCount(*game, "Level: level4.txt - ", 2)) << game->output();
    // Back to the title, on to the map: the cursor starts on the suggested level; the one below
    // it is played.
    ASSERT_TRUE(send("key shift Escape"));
    ASSERT_TRUE(waitForCount(*game, "Menu: title\n", 2)) << game->output();
    ASSERT_TRUE(send("key Down Return"));
    ASSERT_TRUE(game->waitForOutput("Menu: levels\n", 60)) << game->output();
    ASSERT_TRUE(send("key Down Return"));
    ASSERT_TRUE(game->waitForOutput("Level: level5.txt - ", 60)) << game->output();
    // ESC: the title; ESC again: the end.
    ASSERT_TRUE(send("key shift Escape"));
    ASSERT_TRUE(waitForCount(*game, "Menu: title\n", 3)) << game->output();
    ASSERT_TRUE(send("key Escape"));
    EXPECT_EQ(game->wait(60), 0) << game->output();
}

TEST_F(FrontDoor, AChangedSettingIsSavedAtOnceAndHoldsAtTheNextStart) {
    for (const char* volume : {"music_volume = 90", "music_volume = 80"}) {
        auto game = openTitle();
        // Title: Settings is the fourth item; the music's volume the fourth line.
        ASSERT_TRUE(send("key Down Down Down Return"));
        ASSERT_TRUE(game->waitForOutput("Menu: settings\n", 60)) << game->output();
        ASSERT_TRUE(send("key Down Down Down Left"));
        ASSERT_TRUE(game->waitForOutput("Settings saved: " + settingsFile().string(), 60))
            << game->output();
        EXPECT_NE(readFile(settingsFile()).find(volume), std::string::npos)
            << readFile(settingsFile());
        ASSERT_TRUE(send("key Escape Escape"));
        EXPECT_EQ(game->wait(60), 0) << game->output();
    }
}

TEST_F(FrontDoor, ADamagedSettingsFileIsReportedAndTheGameStarts) {
    std::ofstream(settingsFile(), std::ios::binary) << "music_volume = loud\n\x01\xff\xfe garbage";
    auto game = openTitle();
    EXPECT_NE(game->output().find("Settings " + settingsFile().string() + " line 1"),
              std::string::npos)
        << game->output();
    ASSERT_TRUE(send("key Escape"));
    EXPECT_EQ(game->wait(60), 0) << game->output();
}

TEST_F(FrontDoor, TabSelectsTheElementsInTurnAndF12OpensTheSettingsOverALevel) {
    auto game = launch("-level 5", GAME, env());
    ASSERT_TRUE(send("key Tab"));
    ASSERT_TRUE(game->waitForOutput("Selected: ", 60)) << game->output();
    ASSERT_TRUE(send("key Tab Tab"));
    ASSERT_TRUE(waitForCount(*game, "Selected: ", 3)) << game->output();
    // Level 5 has a mirror and a half mirror: the third press is back at the first.
    const std::string out = game->output();
    const auto nth = [&](int n) {
        std::size_t at = 0;
        for (int i = 0; i < n; ++i) {
            at = out.find("Selected: ", at) + 1;
        }
        return out.substr(at - 1, out.find('\n', at) - at + 1);
    };
    EXPECT_NE(nth(1), nth(2));
    EXPECT_EQ(nth(1), nth(3));
    // F12 opens the settings over the level; ESC closes them and the level goes on: the next
    // ESC ends a game started with -level.
    ASSERT_TRUE(send("key F12"));
    ASSERT_TRUE(game->waitForOutput("Menu: settings\n", 60)) << game->output();
    ASSERT_TRUE(send("key Escape"));
    waitFrames(*game, 2);
    ASSERT_TRUE(send("key Escape"));
    EXPECT_EQ(game->wait(60), 0) << game->output();
}
