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

class Editor : public GameWindow {
  protected:
    void SetUp() override {
        home = fs::path(::testing::TempDir()) / ("beamworks-editor-" + std::to_string(getpid()));
        fs::remove_all(home);
        fs::create_directories(home / "data" / "beamworks" / "levels");
        fs::create_directories(home / "config" / "beamworks");
    }
    void TearDown() override { fs::remove_all(home); }

    std::string env() const {
        return "XDG_DATA_HOME='" + (home / "data").string() + "' XDG_CONFIG_HOME='" +
               (home / "config").string() + "'";
    }
    fs::path levels() const { return home / "data" / "beamworks" / "levels"; }

    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path home;
};

} // namespace

TEST_F(Editor, ANewFileOpensOnAnEmptyRoomAndAKilledEditorOffersItsEditsBack) {
    const fs::path file = levels() / "new.txt";
    {
        auto game = launch("-edit '" + file.string() + "'", GAME, env(), false);
        ASSERT_TRUE(game->waitForOutput("Editor: " + file.string() + "\n", 60)) << game->output();
        // A room with a laser and no goal: nothing to solve.
        ASSERT_TRUE(game->waitForOutput("Check: no solution\n", 60)) << game->output();
        // A mirror where the pointer points (the middle of the window looks at the floor).
        ASSERT_TRUE(send("mousemove 512 420 key 2"));
        ASSERT_TRUE(game->waitForOutput("Edit: place\n", 60)) << game->output();
        EXPECT_FALSE(fs::exists(file)); // not saved: the game is killed below
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
