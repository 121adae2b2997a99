// The level editor in the real game on a virtual display: a new file, the judge's console lines,
// saving, test play, and the recovery file after a kill.

#include "support/GameScreen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace gamescreen;
namespace fs = std::filesystem;

namespace {

class Editor : public PlayerFolders {
  protected:
    fs::path levels() const { return home / "data" / "beamworks" / "levels"; }

    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

} // namespace

TEST_F(Editor, ANewFileOpensOnAnEmptyRoomAndAKilledEditorOffersItsEditsBack) {
    const fs::path file = levels() / "new.txt";
    {
        auto game = launch("-edit '" + file.string() + "'", GAME, env(), false);
        ASSERT_TRUE(game->waitForOutput("Editor: " + file.string() + "\n", 60)) << game->output();
        // A room with a laser and no goal: nothing to solve.
        ASSERT_TRUE(game->waitForOutput("Check: no solution\n", 60)) << game->output();
        // A mirror where the pointer points (below the middle of the window: the floor).
        ASSERT_TRUE(send("mousemove 512 550 key 2"));
        ASSERT_TRUE(game->waitForOutput("Edit: place\n", 60)) << game->output();
        // The file is there from the start, with the empty room; the mirror is not saved: the
        // game is killed below.
        EXPECT_EQ(read(file).find("@ MIR"), std::string::npos) << read(file);
    }
    auto game = launch("-edit '" + file.string() + "'", GAME, env(), false);
    ASSERT_TRUE(game->waitForOutput("Editor: recovery file ", 60)) << game->output();
    ASSERT_TRUE(send("key Return"));
    ASSERT_TRUE(game->waitForOutput("Editor: restored ", 60)) << game->output();
    // Saved, the file reads back as a level with the mirror, and the recovery file is gone.
    ASSERT_TRUE(send("key ctrl+s"));
    ASSERT_TRUE(game->waitForOutput("Saved: " + file.string() + "\n", 60)) << game->output();
    EXPECT_NE(read(file).find("@ MIR"), std::string::npos) << read(file);
    EXPECT_TRUE(fs::is_empty(home / "data" / "beamworks" / "recovery"));
}

TEST_F(Editor, AOneMirrorLevelBuiltWithKeysAndClicksIsJudgedSavedAndPlayed) {
    const fs::path file = levels() / "one.txt";
    auto game = launch("-edit '" + file.string() + "'", GAME, env(), false);
    ASSERT_TRUE(game->waitForOutput("Check: no solution\n", 60)) << game->output();
    // The laser, first in the room, raised three grid steps; a mirror in its beam in the middle
    // of the room, a goal on the floor beside it, a step further, level with the beam off the
    // mirror.
    ASSERT_TRUE(send("key Tab minus minus minus"));
    ASSERT_TRUE(waitForCount(*game, "Edit: move\n", 3)) << game->output();
    ASSERT_TRUE(send("mousemove 512 550 key 2 sleep 0.5 mousemove 300 550 key 7 sleep 0.5 key Up"));
    ASSERT_TRUE(game->waitForOutput("Check: solvable in 1 move\n", 120)) << game->output();
    ASSERT_TRUE(send("key ctrl+s"));
    ASSERT_TRUE(game->waitForOutput("Saved: " + file.string() + "\n", 60)) << game->output();
    // Saved, it leaves without a question, and the map lists it among the player's levels.
    ASSERT_TRUE(send("key Escape"));
    ASSERT_TRUE(game->waitForOutput("Menu: title\n", 60)) << game->output();
    EXPECT_EQ(read(home / "data" / "beamworks" / "checks.txt"), "one.txt solvable\n");
    ASSERT_TRUE(send("key Escape"));
    ASSERT_EQ(game->wait(60), 0) << game->output();

    // Played: the mirror turned 45 degrees (nine key turns) solves it.
    game = launch("-file '" + file.string() + "'", GAME, env(), false);
    ASSERT_TRUE(game->waitForOutput("Level: " + file.string(), 60)) << game->output();
    ASSERT_TRUE(send("key Return Tab"));
    ASSERT_TRUE(game->waitForOutput("Selected: MIRROR 1\n", 60)) << game->output();
    ASSERT_TRUE(send("key bracketright bracketright bracketright bracketright bracketright "
                     "bracketright bracketright bracketright bracketright space"));
    EXPECT_TRUE(game->waitForOutput("Level solved: " + file.string() + " in 1 moves\n", 60))
        << game->output();
}
