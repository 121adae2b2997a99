#include "rules/CommandLine.h"
#include "model/GameModels.h"
#include "support/Process.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <vector>

namespace {

struct Case {
    std::vector<const char*> args;
    std::string out;   // what it prints
    std::string level; // the level file it chooses
    int width = 1024, height = 768;
    bool fullscreen = false;
    bool proceed = true; // false: -help, the program ends
};

const std::string USAGE = "USEAGE: [-fullscreeen] [-resolution WIDTH HEIGHT]\n";

} // namespace

TEST(CommandLine, OptionsInOrderWithTheirValuesExaminedAgainAndBadOnesRefusedOrIgnored) {
    const std::string longest(82, 'x'), tooLong(83, 'x');
    const std::string refused =
        "Resolution -fullscreen x 700 refused: width and height must be at least 1; keeping "
        "1024 x 768\nfullscreen active\n";
    const std::string keeping = "; keeping level2.txt\n";
    // clang-format off
    const Case cases[] = {
        {{}, "", "level2.txt"},
        // Values are truncated; a value is examined again as an argument of its own.
        {{"-resolution", "800.9", "600.9"}, "using 800 x 600\n", "level2.txt", 800, 600},
        {{"-resolution", "1e3", "1"}, "using 1000 x 1\n", "level2.txt", 1000, 1},
        {{"-resolution", "-fullscreen", "700", "500"}, refused, "level2.txt", 1024, 768, true},
        // Options lacking their values are ignored.
        {{"-resolution", "800"}, "", "level2.txt"},
        {{"-level"}, "", "level2.txt"},
        // -level composes the file name and prints the current resolution.
        {{"-level", "7", "-fullscreen"}, "using 1024 x 768\nfullscreen active\n", "level7.txt",
         1024, 768, true},
        {{"-level", "pack/a b"}, "using 1024 x 768\n", "levelpack/a b.txt"},
        {{"-level", longest.c_str()}, "using 1024 x 768\n", "level" + longest + ".txt"},
        {{"-level", tooLong.c_str()}, "Level name too long (at most 82 characters)" + keeping,
         "level2.txt"},
        // -help stops at once, after the options before it.
        {{"-fullscreen", "-help", "-resolution", "800", "600"}, "fullscreen active\n" + USAGE,
         "level2.txt", 1024, 768, true, false},
        {{"-level", "-help"}, "using 1024 x 768\n" + USAGE, "level-help.txt", 1024, 768, false,
         false},
        // Names are exact and case-sensitive.
        {{"-Fullscreen", "--fullscreen", "-fullscreen2", "-HELP"}, "", "level2.txt"},
        // -file takes a path as it is, but no empty one.
        {{"-file", "../my levels/level7.txt"}, "using 1024 x 768\n", "../my levels/level7.txt"},
        {{"-file", ""}, "Level path empty or too long (at most 4096 characters)" + keeping,
         "level2.txt"},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::vector<const char*> args = c.args;
        args.insert(args.begin(), "beamworks");
        GameSettings settings;
        std::string level = "level2.txt";
        std::ostringstream out;
        const bool proceed =
            parseCommandLine(static_cast<int>(args.size()), args.data(), settings, level, out);
        const std::string what = c.args.empty() ? "no arguments" : c.args[0];
        EXPECT_EQ(proceed, c.proceed) << what;
        // -help goes on with a line for every option after the usage line.
        EXPECT_EQ(c.proceed ? out.str() : out.str().substr(0, c.out.size()), c.out) << what;
        EXPECT_EQ(level, c.level) << what;
        EXPECT_EQ(settings.screenWidth, c.width) << what;
        EXPECT_EQ(settings.screenHeight, c.height) << what;
        EXPECT_EQ(settings.windowMode, c.fullscreen ? GLFW_FULLSCREEN : GLFW_WINDOW) << what;
    }
    EXPECT_EQ(("level" + longest + ".txt").size(), LEVEL_FILE_NAME_MAX);
    // -edit names the file to edit, leaves the level alone, and refuses an empty path.
    for (const auto& [path, wanted] :
         {std::pair<const char*, const char*>{"mine/new.txt", "mine/new.txt"}, {"", ""}}) {
        const char* args[] = {"beamworks", "-edit", path};
        GameSettings settings;
        std::string level = "level2.txt", editFile;
        std::ostringstream out;
        EXPECT_TRUE(parseCommandLine(3, args, settings, level, out, nullptr, &editFile));
        EXPECT_EQ(editFile, wanted);
        EXPECT_EQ(level, "level2.txt");
    }
    // Widths and heights below one or that are no number are refused.
    for (const char* bad : {"0", "-5", "abc", "0.9", "1e300", "nan"}) {
        const char* args[] = {"beamworks", "-resolution", bad, "600"};
        GameSettings settings;
        std::string level;
        std::ostringstream out;
        parseCommandLine(4, args, settings, level, out);
        EXPECT_EQ(settings.screenWidth, 1024) << bad;
        EXPECT_EQ(settings.screenHeight, 768) << bad;
        EXPECT_NE(out.str().find("refused"), std::string::npos) << bad;
    }
}

// The real program, started as a process in a given working directory.
namespace {

ProcessResult runGame(const std::string& dir, const std::string& args) {
    return runIn(dir, "'" + std::string(BEAMWORKS_GAME_DIR) + "/beamworks' " + args);
}

std::string emptyDir() {
    const auto dir = std::filesystem::path(::testing::TempDir()) / "beamworks_empty_cwd";
    std::filesystem::create_directories(dir);
    return dir.string();
}

// After the usage line, one line for every option the game takes, saying what it does.
void expectEveryOptionExplained(const std::string& help) {
    const std::size_t usage = help.find(USAGE);
    ASSERT_NE(usage, std::string::npos) << help;
    std::istringstream lines(help.substr(usage + USAGE.size()));
    std::vector<std::string> options;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string option, what;
        words >> option;
        std::getline(words, what);
        EXPECT_GT(what.size(), 10u) << line;
        options.push_back(option);
    }
    EXPECT_EQ(options, (std::vector<std::string>{"-level", "-file", "-edit", "-resolution",
                                                 "-fullscreen", "-help"}));
}

} // namespace

TEST(Program, HelpExplainsEveryOptionAfterTheModelsAreLoadedAndAMissingLevelStopsTheStart) {
    const ProcessResult help = runGame(BEAMWORKS_GAME_DIR, "-help");
    EXPECT_EQ(help.status, 0);
    // The models are loaded before main runs.
    EXPECT_LT(help.out.find("LoadModel: " + gameModelFiles().back() + "\n"), help.out.find(USAGE));
    expectEveryOptionExplained(help.out);
    EXPECT_EQ(help.out.find("File not Found"), std::string::npos);
    // A level name no test stages: the window tests leave their levels in the game folder.
    const ProcessResult r = runGame(BEAMWORKS_GAME_DIR, "-level none -fullscreen");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Cannot start: level file levelnone.txt cannot be opened (working "
                         "directory: " +
                         std::filesystem::canonical(BEAMWORKS_GAME_DIR).string() + ")\n"),
              std::string::npos)
        << r.out;
}

TEST(Program, MissingModelsStopWithNonZeroStatusNamingFileAndDirectoryButHelpStillWorks) {
    const std::string dir = emptyDir();
    const ProcessResult r = runGame(dir, "");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.out.find("Cannot start: model file Wall.3ds is missing or damaged (working "
                         "directory: " +
                         std::filesystem::canonical(dir).string() + ")"),
              std::string::npos)
        << r.out;
    const ProcessResult help = runGame(dir, "-help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find(USAGE), std::string::npos);
    EXPECT_EQ(help.out.find("Cannot start"), std::string::npos);
}
