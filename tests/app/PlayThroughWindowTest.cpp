// One launch, many levels, with the real game on a virtual display: a solved level leads on to
// the next with N and is remembered; H finds a hint.

#include "support/GameScreen.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace gamescreen;
namespace fs = std::filesystem;

namespace {

class PlayThrough : public GameWindow {};

} // namespace

TEST_F(PlayThrough, ASolvedLevelIsRememberedAndNLoadsTheNextInTheSameWindow) {
    // A game folder whose level 2 is already solved: every file of the real one, but that.
    const fs::path dir =
        fs::path(::testing::TempDir()) / ("beamworks-pack-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& entry : fs::directory_iterator(GAME)) {
        fs::create_symlink(entry.path(), dir / entry.path().filename());
    }
    fs::remove(dir / "level2.txt");
    fs::copy_file(std::string(BEAMWORKS_SOURCE_DIR) + "/data/levels/solutions/level2.txt",
                  dir / "level2.txt");
    const fs::path data = dir / "data";

    auto game = launch("-level 2", dir.string(), "XDG_DATA_HOME='" + data.string() + "'");
    ASSERT_TRUE(send("key space"));
    // Solved as it starts: in no moves, against the par of the pack's level 2.
    ASSERT_TRUE(game->waitForOutput("Level solved: level2.txt in 0 moves (par 2)\n", 60))
        << game->output();
    ASSERT_TRUE(send("key n"));
    ASSERT_TRUE(game->waitForOutput("Level: level3.txt - Beamworks level 3", 60)) << game->output();
    waitFrames(*game, 2);
    quit(*game);
    EXPECT_EQ(readFile(data / "beamworks" / "progress.txt"), "level2.txt 0\n");
    fs::remove_all(dir);
}

TEST_F(PlayThrough, HAsksForAHintThatSelectsTheElementAndCostsEnergy) {
    auto game = start("5", "");
    ASSERT_TRUE(send("key h"));
    ASSERT_TRUE(game->waitForOutput("Hint: turn ", 120)) << game->output();
    ASSERT_TRUE(game->waitForOutput("Hint costs 20 s of energy: 280 s left", 60)) << game->output();
    // The hint selected the element: a key turn works on it, and is a step to undo.
    ASSERT_TRUE(send("key bracketright ctrl+z"));
    EXPECT_TRUE(game->waitForOutput("Undo: 0 left", 60)) << game->output();
    quit(*game);
}
