// The command table, the key bindings that read it, and what the commands do to the settings.

#include "rules/Commands.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <vector>

namespace {

struct Game {
    GameSettings settings;
    double energy = ENERGY_CAPACITY;
    bool gameOver = false;
    std::string out;

    CommandResult run(Command command) {
        std::ostringstream o;
        CommandResult r = runCommand(command, settings, energy, gameOver, o);
        out += o.str();
        return r;
    }
};

// The key columns of a controls section, from `start` to the next heading: the first column of
// the README's table, the line after each .TP of the manual page.
std::string keyColumns(const std::string& path, const std::string& start, const char* next) {
    const std::string text = readFile(path);
    std::string columns;
    const std::size_t from = text.find(start);
    std::istringstream lines(text.substr(from, text.find(next, from + 1) - from));
    for (std::string line, before; std::getline(lines, line); before = line) {
        if (line.rfind("| ", 0) == 0 || before == ".TP") {
            columns += " " + line.substr(0, line.find(" |", 2)) + " \n";
        }
    }
    return columns;
}

// Whether the text names the key on its own: between blanks, quotes, backticks or separators.
bool names(const std::string& text, const std::string& key) {
    const std::string apart = " \"`/,;\\|";
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        if (apart.find(text[at - 1]) != std::string::npos &&
            apart.find(text[at + key.size()]) != std::string::npos) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(CommandTable, EveryCommandOnceWithDistinctIdsAndNoKeyRunningTwoCommands) {
    std::set<std::string> ids;
    std::set<std::tuple<int, bool, bool>> chords;
    int expected = 1;
    for (const CommandInfo& c : commandTable()) {
        EXPECT_EQ(static_cast<int>(c.command), expected++) << c.id;
        EXPECT_EQ(&commandInfo(c.command), &c) << c.id;
        EXPECT_EQ(findCommand(c.id), &c) << c.id;
        EXPECT_TRUE(ids.insert(c.id).second) << "two commands named " << c.id;
        EXPECT_TRUE(*c.help != '\0' || c.join != HelpJoin::NewRow) << c.id << " has no help";
        for (const KeyChord& k : c.keys) {
            EXPECT_TRUE(chords.insert({k.key, k.ctrl, k.shift}).second)
                << chordName(k) << " is bound twice, the second time to " << c.id;
        }
    }
    EXPECT_EQ(findCommand("bogus"), nullptr);
}

TEST(CommandTable, ThePressedKeyRunsTheCommandThatAsksForTheMostModifiersItHolds) {
    const KeyBindings b;
    struct Case {
        int key;
        bool ctrl, shift;
        Command expected;
    };
    for (const Case& c : {
             Case{'Z', false, false, Command::LookAtSelection},
             Case{'Z', false, true, Command::LookAtSelection},
             Case{'Z', true, false, Command::Undo},
             Case{'Z', true, true, Command::Redo},
             Case{'Y', true, true, Command::Redo},
             Case{GLFW_KEY_BACKSPACE, false, false, Command::Undo},
             Case{GLFW_KEY_PAGEDOWN, false, false, Command::NextLevel},
             Case{'N', true, false, Command::NextLevel}, // extra modifiers do not matter
             Case{'[', false, true, Command::TurnLeft},  // Shift makes it a fine turn
             Case{GLFW_KEY_F18, false, false, Command::Music},
             Case{'W', false, false, Command::None}, // held commands are polled, not pressed
             Case{GLFW_KEY_F7, false, false, Command::None},
         }) {
        EXPECT_EQ(b.commandFor(c.key, c.ctrl, c.shift), c.expected)
            << chordName({c.key, c.ctrl, c.shift});
    }
    const auto down = [](std::set<int> keys) { return [=](int k) { return keys.count(k) > 0; }; };
    EXPECT_TRUE(b.isHeld(Command::Fine, down({GLFW_KEY_RSHIFT})));
    EXPECT_TRUE(b.isHeld(Command::MoveForward, down({'W', GLFW_KEY_LCTRL})));
    EXPECT_FALSE(b.isHeld(Command::MoveForward, down({'S'})));
}

TEST(CommandTable, ABindingChangedWhileTheGameRunsTakesEffectEverywhereAtOnce) {
    KeyBindings b;
    b.setKeys(Command::Wireframe, {{GLFW_KEY_F6, true, false}});
    b.setKeys(Command::Help, {});
    EXPECT_EQ(b.commandFor(GLFW_KEY_F3, false, false), Command::None);
    EXPECT_EQ(b.commandFor(GLFW_KEY_F6, false, false), Command::None);
    EXPECT_EQ(b.commandFor(GLFW_KEY_F6, true, false), Command::Wireframe);
    EXPECT_EQ(hoverText(Command::Wireframe, b), "WIRE FRAME - Ctrl+F6");
    EXPECT_EQ(hoverText(Command::Help, b), "HELP");
    EXPECT_EQ(keyHint(Command::Help, "help", b), "help");
    const auto rows = helpRows(b);
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(),
                            [](const auto& r) { return r.first.find("Ctrl+F6") == 0; }));
    EXPECT_TRUE(std::none_of(rows.begin(), rows.end(),
                             [](const auto& r) { return r.second == "this help"; }));
    // Rows join their commands' keys, the mouse input last.
    EXPECT_EQ(helpRows(KeyBindings()).front().first, "W / S, wheel");
}

TEST(CommandTable, TheReadmeAndTheManualPageNameEveryBoundKey) {
    const std::string source = BEAMWORKS_SOURCE_DIR;
    // The manual page writes a minus as "\-".
    const std::string readme = keyColumns(source + "/README.md", "\n## Controls\n", "\n## ");
    const std::string manual = keyColumns(source + "/data/beamworks.6", "\n.SH CONTROLS", "\n.SH ");
    ASSERT_GT(readme.size(), 300u);
    ASSERT_GT(manual.size(), 300u);
    for (const CommandInfo& c : commandTable()) {
        for (const KeyChord& k : c.keys) {
            const std::string key = chordName(k);
            EXPECT_TRUE(names(readme, key)) << key << " (" << c.id << ") in the README";
            EXPECT_TRUE(names(manual, key == "-" ? "\\-" : key)) << key << " in the manual";
        }
    }
}

TEST(Commands, OnOffCommandsFlipTheirOwnSettingOnlyAndReportIt) {
    const auto flags = [](const GameSettings& s) {
        return std::vector<bool>{s.wireframe,    s.linearFiltering,     s.frustumCulling,
                                 s.transparency, s.showBoundingSpheres, s.colourLabels};
    };
    const Command commands[] = {Command::Wireframe,       Command::TextureFilter,
                                Command::Culling,         Command::Transparency,
                                Command::BoundingSpheres, Command::ColourLabels};
    for (std::size_t i = 0; i < std::size(commands); ++i) {
        Game g;
        const std::vector<bool> before = flags(g.settings);
        const CommandResult first = g.run(commands[i]);
        std::vector<bool> expected = before;
        expected[i] = !expected[i];
        EXPECT_EQ(flags(g.settings), expected) << commandInfo(commands[i]).id;
        EXPECT_EQ(first.on, expected[i]);
        EXPECT_EQ(first.toggleId, commandInfo(commands[i]).id);
        // Only texture filtering is re-applied, and before the switch shows the new state.
        EXPECT_EQ(first.reapplyFilters && first.filtersBeforeToggle,
                  commands[i] == Command::TextureFilter);
        const CommandResult second = g.run(commands[i]);
        EXPECT_EQ(flags(g.settings), before);
        EXPECT_NE(first.caption, second.caption);
        // One report per press, on a line of its own, ending in the new value.
        const std::string on = expected[i] ? "1\n" : "0\n";
        EXPECT_EQ(g.out.find('\n'), 0u) << g.out;
        EXPECT_EQ(g.out.substr(g.out.find('\n', 1) - 1, 2), on) << g.out;
        EXPECT_EQ(std::count(g.out.begin(), g.out.end(), '\n'), 4) << g.out;
    }
}

TEST(Commands, CyclesComeBackToTheirStartAndTheSwitchFollowsTheSettings) {
    Game g;
    // Mip-mapping: nearest -> linear -> off -> nearest, filters re-applied after the switch.
    std::set<std::string> captions;
    for (int i = 0; i < 3; ++i) {
        const CommandResult r = g.run(Command::Mipmap);
        captions.insert(r.caption);
        EXPECT_TRUE(r.reapplyFilters && !r.filtersBeforeToggle);
        EXPECT_EQ(r.on, g.settings.mipmapping);
        EXPECT_EQ(g.settings.mipmapping, i != 1) << i;
    }
    EXPECT_EQ(captions.size(), 3u);
    EXPECT_TRUE(g.settings.mipmapping && !g.settings.mipmapLinear);
    // Reflections: both -> off -> one level -> both.
    const bool depths[][2] = {{false, false}, {true, false}, {true, true}};
    for (const auto& d : depths) {
        const CommandResult r = g.run(Command::Reflections);
        EXPECT_EQ(g.settings.mirroring, d[0]);
        EXPECT_EQ(g.settings.mirroringDepth2, d[1]);
        EXPECT_EQ(r.on, d[0]);
    }
    // The display mode alternates and asks for a new window every time.
    for (const int mode : {GLFW_FULLSCREEN, GLFW_WINDOW}) {
        EXPECT_TRUE(g.run(Command::DisplayMode).switchDisplay);
        EXPECT_EQ(g.settings.windowMode, mode);
    }
    // Brightness steps between 0.8 and 0.1 from any value; exactly 0.4 stays.
    for (const auto& [from, to] :
         {std::pair{0.8f, 0.1f}, {0.1f, 0.8f}, {0.4f, 0.4f}, {-3.0f, 0.8f}, {7.0f, 0.1f}}) {
        g.settings.ambientLevel = from;
        const CommandResult r = g.run(Command::Brightness);
        EXPECT_FLOAT_EQ(g.settings.ambientLevel, to) << from;
        EXPECT_EQ(r.on, to >= 0.2f) << from;
    }
}

TEST(Commands, PowerNeedsEnergyAndNoGameOverAndEnergyEndsGameOver) {
    Game g;
    EXPECT_TRUE(g.run(Command::LaserPower).on);
    EXPECT_TRUE(g.settings.laserPower);
    g.run(Command::LaserPower);
    g.out.clear();
    g.energy = 0;
    const CommandResult none = g.run(Command::LaserPower);
    EXPECT_TRUE(none.toggleId.empty());
    EXPECT_FALSE(g.settings.laserPower);
    EXPECT_FALSE(g.out.empty()); // reported although nothing changed

    g.out.clear();
    g.gameOver = true;
    g.energy = -0.02;
    g.run(Command::LaserPower);
    EXPECT_FALSE(g.settings.laserPower);
    EXPECT_EQ(g.out, ""); // after game over: nothing at all
    EXPECT_TRUE(g.run(Command::AddEnergy).clearMessage);
    EXPECT_DOUBLE_EQ(g.energy, 9.98);
    EXPECT_FALSE(g.gameOver);
    EXPECT_FALSE(g.settings.laserPower); // more energy does not switch the power on
    g.run(Command::LaserPower);
    EXPECT_TRUE(g.settings.laserPower);
}

TEST(Commands, CommandsForTheCallerAndOneThatIsNotTheSettings) {
    Game g;
    EXPECT_TRUE(g.run(Command::FpsCounter).selectFpsCounter);
    EXPECT_TRUE(g.run(Command::LaserCounter).selectLaserCounter);
    EXPECT_TRUE(g.run(Command::Music).toggleMusic);
    EXPECT_TRUE(g.run(Command::ResetView).resetView);
    EXPECT_TRUE(g.run(Command::Help).toggleHelp);
    EXPECT_TRUE(g.settings.showHelp);
    EXPECT_TRUE(g.settings.running);
    EXPECT_TRUE(g.run(Command::Quit).handled);
    EXPECT_FALSE(g.settings.running);
    EXPECT_FALSE(g.run(Command::NextLevel).handled); // the play-through's
}
