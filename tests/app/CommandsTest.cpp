#include "app/Commands.h"

#include <gtest/gtest.h>

#include <sstream>

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

TEST(Commands, WireframeTwiceReportsOneThenZero) {
    Game g;
    const CommandResult on = g.press(GLFW_KEY_F3);
    EXPECT_EQ(on.toggleId, "wireframe");
    EXPECT_EQ(on.caption, "WIREFRAME MODE ON");
    EXPECT_TRUE(on.on);
    const CommandResult off = g.press(GLFW_KEY_F3);
    EXPECT_EQ(off.caption, "WIREFRAME MODE OFF");
    EXPECT_EQ(g.out, "\nWireframe Mode: 1\n\nWireframe Mode: 0\n");
}

TEST(Commands, SimpleToggles) {
    struct Case {
        int key;
        bool GameSettings::*flag;
        const char* id;
        const char* onCaption;
        const char* offCaption;
        const char* label;
    };
    const Case cases[] = {
        {GLFW_KEY_F4, &GameSettings::linearFiltering, "texture", "BILINEAR TEXTURING",
         "NEAREST NEIGHBOR TEXTURING", "Texture Quality to linear: "},
        {GLFW_KEY_F8, &GameSettings::frustumCulling, "frustum", "VIEW FRUSTUM CULLING ON",
         "VIEW FRUSTUM CULLING OFF", "View Frustum Culling: "},
        {GLFW_KEY_F9, &GameSettings::transparency, "transparency", "TRANSPARENCY ON",
         "TRANSPARENCY OFF", "Transparency: "},
        {GLFW_KEY_F10, &GameSettings::showBoundingSpheres, "boundingsphere", "BOUNDING SPHERES ON",
         "BOUNDING SPHERES OFF", "Bounding Spheres: "},
    };
    for (const Case& c : cases) {
        Game g;
        const bool before = g.settings.*c.flag;
        const CommandResult r = g.press(c.key);
        EXPECT_EQ(g.settings.*c.flag, !before) << c.id;
        EXPECT_EQ(r.toggleId, c.id);
        EXPECT_EQ(r.caption, before ? c.offCaption : c.onCaption);
        EXPECT_EQ(g.out, std::string("\n") + c.label + (before ? "0" : "1") + "\n");
    }
    Game g;
    EXPECT_TRUE(g.press(GLFW_KEY_F4).filtersBeforeToggle);
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

TEST(Commands, EscapeStopsAndOtherKeysAreIgnored) {
    Game g;
    EXPECT_FALSE(g.press('Z').handled);
    EXPECT_FALSE(g.press(GLFW_KEY_F1).handled);
    EXPECT_TRUE(g.settings.running);
    EXPECT_TRUE(g.press(GLFW_KEY_ESC).handled);
    EXPECT_FALSE(g.settings.running);
    EXPECT_TRUE(g.press(GLFW_KEY_F2).selectFpsCounter);
    EXPECT_TRUE(g.press(GLFW_KEY_F18).toggleMusic);
    EXPECT_EQ(g.out, "");
}
