// The command table, the key bindings that read it, and what the commands do to the settings.

#include "rules/Commands.h"

#include <gtest/gtest.h>

#include <fstream>
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

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The inputs a controls table names in its first column ("N or Page Down, `[` / `]`"), one by
// one, without backticks and without a trailing " held".
void addInputs(std::string column, std::set<std::string>& inputs) {
    for (const std::string separator : {" or ", " / ", ", ", "; "}) {
        for (std::size_t at; (at = column.find(separator)) != std::string::npos;) {
            column.replace(at, separator.size(), "\n");
        }
    }
    std::istringstream lines(column);
    for (std::string input; std::getline(lines, input);) {
        input.erase(std::remove(input.begin(), input.end(), '`'), input.end());
        if (input.size() > 5 && input.compare(input.size() - 5, 5, " held") == 0) {
            input.resize(input.size() - 5);
        }
        inputs.insert(input);
    }
}

// The first column of the README's table under "## Controls".
std::set<std::string> readmeControls(const std::string& readme) {
    std::set<std::string> inputs;
    const std::size_t start = readme.find("\n## Controls\n");
    std::istringstream lines(readme.substr(start, readme.find("\n## ", start + 1) - start));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("| ", 0) == 0) {
            addInputs(line.substr(2, line.find(" |", 2) - 2), inputs);
        }
    }
    return inputs;
}

// The tags of the manual page's CONTROLS section: the line after each .TP, its font macro's
// arguments joined as troff joins them ("\-" is a minus).
std::set<std::string> manualControls(const std::string& page) {
    std::set<std::string> inputs;
    const std::size_t start = page.find("\n.SH CONTROLS\n");
    std::istringstream lines(page.substr(start, page.find("\n.SH ", start + 1) - start));
    for (std::string line; std::getline(lines, line);) {
        if (line != ".TP" || !std::getline(lines, line)) {
            continue;
        }
        std::string tag;
        std::istringstream words(line[0] == '.' ? line.substr(line.find(' ') + 1) : line);
        for (char c; words.get(c);) {
            if (c == '"') {
                std::string quoted;
                std::getline(words, quoted, '"');
                tag += quoted;
            } else if (c == '\\' && words.peek() == '-') {
                tag += '-';
                words.get();
            } else if (c != ' ' || line[0] != '.') {
                tag += c;
            }
        }
        addInputs(tag, inputs);
    }
    return inputs;
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
             Case{'Z', false, false, Command::None},
             Case{'Z', false, true, Command::None},
             Case{'Z', true, false, Command::Undo},
             Case{'Z', true, true, Command::Redo},
             Case{'Y', true, true, Command::Redo},
             Case{GLFW_KEY_BACKSPACE, false, false, Command::Undo},
             Case{GLFW_KEY_PAGEDOWN, false, false, Command::NextLevel},
             Case{'N', true, false, Command::NextLevel}, // extra modifiers do not matter
             Case{'[', false, true, Command::TurnLeft},  // Shift makes it a fine turn
             Case{GLFW_KEY_F18, false, false, Command::Music},
             Case{'W', false, false, Command::None}, // held commands are polled, not pressed
             Case{GLFW_KEY_F12, false, false, Command::None},
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
    const std::set<std::string> readme = readmeControls(readFile(source + "/README.md"));
    const std::set<std::string> manual = manualControls(readFile(source + "/data/beamworks.6"));
    ASSERT_GT(readme.size(), 20u);
    ASSERT_GT(manual.size(), 20u);
    for (const CommandInfo& c : commandTable()) {
        for (const KeyChord& k : c.keys) {
            EXPECT_TRUE(readme.count(chordName(k))) << chordName(k) << " (" << c.id << ") README";
            EXPECT_TRUE(manual.count(chordName(k))) << chordName(k) << " (" << c.id << ") manual";
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

TEST(Commands, CommandsForTheCallerAndThoseThatAreNotTheSettings) {
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
    for (const Command other : {Command::None, Command::NextLevel, Command::Undo, Command::TurnLeft,
                                Command::MoveForward}) {
        EXPECT_FALSE(g.run(other).handled);
    }
}
