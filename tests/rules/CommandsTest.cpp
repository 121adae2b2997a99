#include "rules/Commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>
#include <vector>

namespace {

struct Game {
    GameSettings settings;
    double energy = ENERGY_CAPACITY;
    bool gameOver = false;
    std::string out;

    CommandResult press(int key) {
        std::ostringstream o;
        CommandResult r = runCommand(key, settings, energy, gameOver, o);
        out += o.str();
        return r;
    }
};

} // namespace

TEST(Commands, OnOffKeysFlipTheirOwnSettingOnlyAndBackAgain) {
    const auto flags = [](const GameSettings& s) {
        return std::vector<bool>{s.wireframe, s.linearFiltering, s.frustumCulling, s.transparency,
                                 s.showBoundingSpheres};
    };
    const int keys[] = {GLFW_KEY_F3, GLFW_KEY_F4, GLFW_KEY_F8, GLFW_KEY_F9, GLFW_KEY_F10};
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        Game g;
        const std::vector<bool> before = flags(g.settings);
        const CommandResult r = g.press(keys[i]);
        std::vector<bool> expected = before;
        expected[i] = !expected[i];
        EXPECT_EQ(flags(g.settings), expected) << "key " << keys[i];
        EXPECT_EQ(r.on, expected[i]);
        // Only texture filtering is re-applied, and before the switch shows the new state.
        EXPECT_EQ(r.reapplyFilters && r.filtersBeforeToggle, keys[i] == GLFW_KEY_F4);
        g.press(keys[i]);
        EXPECT_EQ(flags(g.settings), before);
        // One report per press, on a line of its own, ending in the new value.
        EXPECT_EQ(std::count(g.out.begin(), g.out.end(), '\n'), 4) << g.out;
    }
    Game g;
    EXPECT_EQ(g.press(GLFW_KEY_F8).caption, "VIEW FRUSTUM CULLING OFF");
    EXPECT_EQ(g.out, "\nView Frustum Culling: 0\n");
}

TEST(Commands, MipmapCycleFromTheDefaults) {
    Game g;
    EXPECT_EQ(g.press(GLFW_KEY_F5).caption, "MIP MAPPING: LINEAR");
    const CommandResult off = g.press(GLFW_KEY_F5);
    EXPECT_EQ(off.caption, "MIP MAPPING: OFF");
    EXPECT_FALSE(off.on);
    const CommandResult back = g.press(GLFW_KEY_F5);
    EXPECT_EQ(back.caption, "MIP MAPPING: NEAREST NEIGHBOR");
    EXPECT_TRUE(back.on);
    EXPECT_TRUE(back.reapplyFilters);
    EXPECT_FALSE(back.filtersBeforeToggle);
    EXPECT_TRUE(g.settings.mipmapping);
    EXPECT_FALSE(g.settings.mipmapLinear);
    EXPECT_EQ(g.out, "\nSet MipMap to on: 1 and MipMap Quality to linear: 1\n"
                     "\nSet MipMap to on: 0 and MipMap Quality to linear: 1\n"
                     "\nSet MipMap to on: 1 and MipMap Quality to linear: 0\n");
}

TEST(Commands, MirroringCycleFromTheDefaults) {
    Game g;
    EXPECT_EQ(g.press(GLFW_KEY_F11).caption, "MIRRORING OFF");
    EXPECT_EQ(g.press(GLFW_KEY_F11).caption, "MIRRORING DEPTH 1");
    EXPECT_FALSE(g.settings.mirroringDepth2);
    EXPECT_EQ(g.press(GLFW_KEY_F11).caption, "MIRRORING DEPTH 2");
    EXPECT_TRUE(g.settings.mirroring && g.settings.mirroringDepth2);
    EXPECT_EQ(g.out, "\nDeactivate Reflections\n\nActivate Reflections\n"
                     "\nActivate recursice Reflections (2)\n");
}

TEST(Commands, BrightnessStepFromAnyValue) {
    Game g;
    const CommandResult dark = g.press(GLFW_KEY_ENTER);
    EXPECT_FLOAT_EQ(g.settings.ambientLevel, 0.1f);
    EXPECT_EQ(dark.caption, "LIGHT OFF");
    EXPECT_EQ(g.out, "\nlight off\n\nLight: 0\n");
    g.out.clear();
    EXPECT_EQ(g.press(GLFW_KEY_ENTER).caption, "LIGHT ON");
    EXPECT_FLOAT_EQ(g.settings.ambientLevel, 0.8f);
    EXPECT_EQ(g.out, "\nLight: 1\n");
    g.settings.ambientLevel = 0.4f;
    g.press(GLFW_KEY_ENTER);
    EXPECT_FLOAT_EQ(g.settings.ambientLevel, 0.4f); // exactly 0.4 stays
    g.settings.ambientLevel = -3.0f;
    g.press(GLFW_KEY_ENTER);
    EXPECT_FLOAT_EQ(g.settings.ambientLevel, 0.8f);
}

TEST(Commands, PowerNeedsEnergyAndNoGameOver) {
    Game g;
    EXPECT_EQ(g.press(GLFW_KEY_SPACE).caption, "LASER POWER ON");
    EXPECT_TRUE(g.settings.laserPower);
    g.press(GLFW_KEY_SPACE);
    EXPECT_EQ(g.out, "\nset Laser to: 1\n\nset Laser to: 0\n");

    g.out.clear();
    g.energy = 0;
    const CommandResult none = g.press(GLFW_KEY_SPACE);
    EXPECT_TRUE(none.toggleId.empty());
    EXPECT_FALSE(g.settings.laserPower);
    EXPECT_EQ(g.out, "\nset Laser to: 0\n"); // reported although nothing changed

    g.out.clear();
    g.gameOver = true;
    g.energy = 50;
    g.press(GLFW_KEY_SPACE);
    EXPECT_FALSE(g.settings.laserPower);
    EXPECT_EQ(g.out, ""); // after game over: nothing at all
}

TEST(Commands, HashAddsEnergyAndClearsGameOver) {
    Game g;
    g.energy = -0.02;
    g.gameOver = true;
    const CommandResult r = g.press('#');
    EXPECT_TRUE(r.clearMessage);
    EXPECT_DOUBLE_EQ(g.energy, 9.98);
    EXPECT_FALSE(g.gameOver);
    EXPECT_FALSE(g.settings.laserPower);
    EXPECT_EQ(g.out, "");
    g.press(GLFW_KEY_SPACE);
    EXPECT_TRUE(g.settings.laserPower);
}

TEST(Commands, DisplaySwitchAlternatesModes) {
    Game g;
    const CommandResult full = g.press(GLFW_KEY_F19);
    EXPECT_TRUE(full.switchDisplay);
    EXPECT_EQ(full.caption, "FULLSCREEN MODE");
    EXPECT_EQ(g.settings.windowMode, GLFW_FULLSCREEN);
    const CommandResult window = g.press(GLFW_KEY_F19);
    EXPECT_EQ(window.caption, "WINDOW MODE");
    EXPECT_FALSE(window.on);
    EXPECT_EQ(g.settings.windowMode, GLFW_WINDOW);
}

TEST(Commands, EscapeStopsHomeResetsTheViewAndOtherKeysAreIgnored) {
    Game g;
    EXPECT_FALSE(g.press('Z').handled);
    EXPECT_FALSE(g.press(GLFW_KEY_F1 + 11).handled); // F12
    EXPECT_TRUE(g.settings.running);
    EXPECT_TRUE(g.press(GLFW_KEY_ESC).handled);
    EXPECT_FALSE(g.settings.running);
    EXPECT_TRUE(g.press(GLFW_KEY_F2).selectFpsCounter);
    EXPECT_TRUE(g.press(GLFW_KEY_F18).toggleMusic);
    EXPECT_EQ(g.out, "");
    const CommandResult home = g.press(GLFW_KEY_HOME);
    EXPECT_TRUE(home.handled && home.resetView && home.toggleId.empty());
    EXPECT_EQ(g.out, "\nView reset\n");
}

TEST(Commands, LetterKeysDoWhatTheFunctionKeysMissingFromMostKeyboardsDo) {
    for (const auto& [letter, function] : {std::pair{'M', GLFW_KEY_F18}, {'F', GLFW_KEY_F19}}) {
        Game byLetter, byFunction;
        const CommandResult a = byLetter.press(letter);
        const CommandResult b = byFunction.press(function);
        EXPECT_EQ(a.toggleMusic, b.toggleMusic);
        EXPECT_EQ(a.switchDisplay, b.switchDisplay);
        EXPECT_EQ(a.caption, b.caption);
        EXPECT_EQ(byLetter.settings.windowMode, byFunction.settings.windowMode);
        EXPECT_EQ(byLetter.out, byFunction.out);
    }
}

TEST(Commands, HelpAndColourLabelsSwitchWithTheirReports) {
    Game g;
    EXPECT_TRUE(g.press(GLFW_KEY_F1).toggleHelp);
    EXPECT_TRUE(g.settings.showHelp);
    g.press(GLFW_KEY_F1);
    const CommandResult labels = g.press('C');
    EXPECT_TRUE(g.settings.colourLabels);
    EXPECT_EQ(labels.caption, "COLOUR LABELS ON");
    g.press('C');
    EXPECT_EQ(g.out, "\nHelp: 1\n\nHelp: 0\n\nColour Labels: 1\n\nColour Labels: 0\n");
}
