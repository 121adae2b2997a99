#include "rules/SettingsFile.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

PlayerSettings read(const std::string& text, std::string& console) {
    std::istringstream in(text);
    std::ostringstream out;
    PlayerSettings s = readSettings(in, "settings.conf", out);
    console = out.str();
    return s;
}

} // namespace

TEST(SettingsFile, WhatIsWrittenReadsBackAndOnlyChangedKeysAreWritten) {
    PlayerSettings s;
    s.width = 800;
    s.fullscreen = true;
    s.musicVolume = 35;
    s.effects = false;
    s.effectsVolume = 20;
    s.lookSpeed = 1.5;
    s.uiScale = 2;
    s.reflections = 0;
    s.shadows = false;
    s.relaxedEnergy = true;
    s.keys = {{Command::Help, {{GLFW_KEY_F12}, {'#', true, true}}}, {Command::Undo, {{'U'}}}};
    std::ostringstream written;
    writeSettings(written, s);
    EXPECT_NE(written.str().find("key.help = F12, Ctrl+Shift+#\n"), std::string::npos);
    EXPECT_EQ(written.str().find("key.quit"), std::string::npos);
    std::string console;
    EXPECT_EQ(read(written.str(), console), s);
    EXPECT_EQ(console, "");
    // What the game takes of them.
    GameSettings game;
    KeyBindings bindings;
    applyPlayerSettings(s, game, bindings);
    EXPECT_TRUE(game.screenWidth == 800 && game.windowMode == GLFW_FULLSCREEN && !game.mirroring &&
                game.relaxedEnergy && game.lookSpeed == 1.5f);
    EXPECT_TRUE(game.musicVolume == 35 && game.uiScale == 2.0f && !game.shadows);
    EXPECT_TRUE(!game.effects && game.effectsVolume == 20 && game.music); // apart from the music
    EXPECT_EQ(bindings.commandFor(GLFW_KEY_F12, false, false), Command::Help);
    EXPECT_EQ(bindings.commandFor('U', false, false), Command::Undo);
    // A binding written back as its default is no longer written.
    EXPECT_EQ(read("key.undo = Ctrl+Z, BACKSPACE\n", console), PlayerSettings{});
}

TEST(SettingsFile, EachBadLineIsNamedOnceAndItsDefaultStands) {
    for (const char* line :
         {"width = -3", "width = 12.5", "music = maybe", "ui_scale = 1.25", "look_speed = nan",
          "reflections = 3", "energy = endless", "colour = red", "just words", "key.nosuch = F3",
          "key.help = NoSuchKey", "key.help = ", "\x01\xff = \xfe"}) {
        std::string console;
        const PlayerSettings s = read(std::string("music_volume = 40\n") + line + "\n", console);
        PlayerSettings expected;
        expected.musicVolume = 40;
        EXPECT_EQ(s, expected) << line;
        EXPECT_EQ(console.rfind("Settings settings.conf line 2: ", 0), 0u) << console;
        EXPECT_EQ(std::count(console.begin(), console.end(), '\n'), 1) << console;
    }
}

TEST(SettingsFile, SavesWholeWhereTheConfigHomeSaysAndSaysWhenItCannot) {
    EXPECT_EQ(settingsFilePath("/x/config", "/home/a"), "/x/config/beamworks/settings.conf");
    EXPECT_EQ(settingsFilePath("relative", "/home/a"), "/home/a/.config/beamworks/settings.conf");
    EXPECT_EQ(settingsFilePath("", nullptr), "");
    ScratchDir dir("settings");
    const std::string path = dir.file("config/beamworks/settings.conf");
    PlayerSettings s;
    s.shadows = false;
    std::ostringstream out;
    EXPECT_TRUE(saveSettings(path, s, out));
    EXPECT_EQ(out.str(), "Settings saved: " + path + "\n");
    EXPECT_EQ(loadSettings(path, out), s);
    EXPECT_EQ(loadSettings(dir.file("missing.conf"), out), PlayerSettings{});
    std::ostringstream refused;
    EXPECT_FALSE(saveSettings(path + "/below", s, refused)); // its folder is a file
    EXPECT_EQ(refused.str().rfind("Settings not saved: ", 0), 0u) << refused.str();
}
