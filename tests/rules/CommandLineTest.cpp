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

struct Parsed {
    bool proceed;
    GameSettings settings;
    std::string level = "level2.txt";
    std::string out;
};

Parsed parse(std::vector<const char*> args) {
    args.insert(args.begin(), "beamworks");
    Parsed p;
    std::ostringstream out;
    p.proceed =
        parseCommandLine(static_cast<int>(args.size()), args.data(), p.settings, p.level, out);
    p.out = out.str();
    return p;
}

} // namespace

TEST(CommandLine, DefaultsWithoutArguments) {
    const Parsed p = parse({});
    EXPECT_TRUE(p.proceed);
    EXPECT_EQ(p.settings.windowMode, GLFW_WINDOW);
    EXPECT_EQ(p.settings.screenWidth, 1024);
    EXPECT_EQ(p.settings.screenHeight, 768);
    EXPECT_EQ(p.level, "level2.txt");
    EXPECT_EQ(p.out, "");
}

TEST(CommandLine, ResolutionValuesAreTruncatedAndNotSkipped) {
    const Parsed p = parse({"-resolution", "800.9", "600.9"});
    EXPECT_EQ(p.settings.screenWidth, 800);
    EXPECT_EQ(p.settings.screenHeight, 600);
    EXPECT_EQ(p.out, "using 800 x 600\n");
    // The value "-fullscreen" is examined again as an argument of its own.
    const Parsed q = parse({"-resolution", "-fullscreen", "700", "500"});
    EXPECT_EQ(q.settings.windowMode, GLFW_FULLSCREEN);
    EXPECT_EQ(q.settings.screenWidth, 1024);
    EXPECT_EQ(q.out,
              "Resolution -fullscreen x 700 refused: width and height must be at least 1; keeping "
              "1024 x 768\nfullscreen active\n");
}

TEST(CommandLine, OptionsLackingValuesAreIgnored) {
    const Parsed p = parse({"-resolution", "800"});
    EXPECT_EQ(p.settings.screenWidth, 1024);
    EXPECT_EQ(p.out, "");
    const Parsed q = parse({"-level"});
    EXPECT_EQ(q.level, "level2.txt");
    EXPECT_EQ(q.out, "");
}

TEST(CommandLine, ResolutionBelowOneOrNotANumberIsRefused) {
    for (const char* bad : {"0", "-5", "abc", "0.9", "1e300", "nan"}) {
        const Parsed p = parse({"-resolution", bad, "600"});
        EXPECT_EQ(p.settings.screenWidth, 1024) << bad;
        EXPECT_EQ(p.settings.screenHeight, 768) << bad;
        EXPECT_NE(p.out.find("refused"), std::string::npos) << bad;
    }
    const Parsed big = parse({"-resolution", "1e3", "1"});
    EXPECT_EQ(big.settings.screenWidth, 1000);
    EXPECT_EQ(big.settings.screenHeight, 1);
}

TEST(CommandLine, LevelComposesFileNameAndPrintsCurrentResolution) {
    const Parsed p = parse({"-level", "7", "-fullscreen"});
    EXPECT_EQ(p.level, "level7.txt");
    EXPECT_EQ(p.settings.windowMode, GLFW_FULLSCREEN);
    EXPECT_EQ(p.out, "using 1024 x 768\nfullscreen active\n");
    const Parsed text = parse({"-level", "pack/a b"});
    EXPECT_EQ(text.level, "levelpack/a b.txt");
}

TEST(CommandLine, LevelNameAtTheBufferLimit) {
    const std::string longest(82, 'x');
    const Parsed p = parse({"-level", longest.c_str()});
    EXPECT_EQ(p.level, "level" + longest + ".txt");
    EXPECT_EQ(p.level.size(), LEVEL_FILE_NAME_MAX);
    const std::string tooLong(83, 'x');
    const Parsed q = parse({"-level", tooLong.c_str()});
    EXPECT_EQ(q.level, "level2.txt");
    EXPECT_EQ(q.out, "Level name too long (at most 82 characters); keeping level2.txt\n");
}

TEST(CommandLine, HelpStopsAtOnceAfterEarlierOptions) {
    const Parsed p = parse({"-fullscreen", "-help", "-resolution", "800", "600"});
    EXPECT_FALSE(p.proceed);
    EXPECT_EQ(p.out, "fullscreen active\nUSEAGE: [-fullscreeen] [-resolution WIDTH HEIGHT]\n");
    EXPECT_EQ(p.settings.screenWidth, 1024);
    // -level takes -help as its value first, then -help is examined on its own.
    const Parsed q = parse({"-level", "-help"});
    EXPECT_FALSE(q.proceed);
    EXPECT_EQ(q.level, "level-help.txt");
    EXPECT_EQ(q.out, "using 1024 x 768\nUSEAGE: [-fullscreeen] [-resolution WIDTH HEIGHT]\n");
}

TEST(CommandLine, OptionNamesAreCaseSensitiveAndExact) {
    const Parsed p = parse({"-Fullscreen", "--fullscreen", "-fullscreen2", "-HELP"});
    EXPECT_TRUE(p.proceed);
    EXPECT_EQ(p.settings.windowMode, GLFW_WINDOW);
    EXPECT_EQ(p.out, "");
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

} // namespace

TEST(Program, HelpPrintsModelLinesBannerAndUsageAndExitsZero) {
    const ProcessResult r = runGame(BEAMWORKS_GAME_DIR, "-help");
    EXPECT_EQ(r.status, 0);
    // Every model is logged before the banner, in loading order.
    std::size_t at = 0;
    for (const std::string& file : gameModelFiles()) {
        at = r.out.find("LoadModel: " + file + "\n", at);
        ASSERT_NE(at, std::string::npos) << file;
    }
    const std::size_t banner = r.out.find("=== Beamworks Alpha ===\n");
    EXPECT_GT(banner, at);
    EXPECT_EQ(r.out.substr(banner), "=== Beamworks Alpha ===\n"
                                    "USEAGE: [-fullscreeen] [-resolution WIDTH HEIGHT]\n");
    EXPECT_EQ(r.out.find("File not Found"), std::string::npos);
}

TEST(Program, OptionsAreReportedInOrderAndAMissingLevelStopsBeforeTheWindow) {
    // A level name no test stages: the window tests leave their levels in the game folder.
    const ProcessResult r =
        runGame(BEAMWORKS_GAME_DIR, "-level none -fullscreen -resolution 800.9 600.9");
    EXPECT_EQ(r.status, 1);
    const std::size_t banner = r.out.find("=== Beamworks Alpha ===\n");
    ASSERT_NE(banner, std::string::npos);
    EXPECT_EQ(r.out.substr(banner),
              "=== Beamworks Alpha ===\nusing 1024 x 768\nfullscreen active\nusing 800 x 600\n"
              "Cannot open level file: levelnone.txt\n"
              "Cannot start: level file levelnone.txt cannot be opened (working directory: " +
                  std::filesystem::canonical(BEAMWORKS_GAME_DIR).string() + ")\n");
}

TEST(Program, MissingModelsStopWithNonZeroStatusNamingFileAndDirectory) {
    const std::string dir = emptyDir();
    const ProcessResult r = runGame(dir, "");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.out.find("File not Found\n"), std::string::npos);
    EXPECT_NE(r.out.find("=== Beamworks Alpha ===\n"), std::string::npos);
    EXPECT_NE(r.out.find("Cannot start: model file Wall.3ds is missing or damaged (working "
                         "directory: " +
                         std::filesystem::canonical(dir).string() + ")"),
              std::string::npos)
        << r.out;
}

TEST(Program, HelpStillWorksWithoutModels) {
    const ProcessResult r = runGame(emptyDir(), "-help");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("USEAGE: [-fullscreeen] [-resolution WIDTH HEIGHT]\n"), std::string::npos);
    EXPECT_EQ(r.out.find("Cannot start"), std::string::npos);
}
