// Where the tools read the models from without --data: the working directory when it holds
// models, else the installed data folder when that does.

#include "DataFolder.h"
#include "model/GameModels.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class DataFolder : public ::testing::Test {
  protected:
    const fs::path root =
        fs::path(::testing::TempDir()) / ("beamworks-datafolder-" + std::to_string(getpid()));
    const fs::path cwd = root / "levels";
    const fs::path installed = root / "usr/share/games/beamworks";
    // The installed folder as a tool in usr/bin finds it.
    const fs::path fromBin = root / "usr/bin/../share/games/beamworks";

    void SetUp() override {
        fs::create_directories(cwd);
        fs::create_directories(installed);
    }
    void TearDown() override { fs::remove_all(root); }
    static void putModel(const fs::path& folder) {
        std::ofstream(folder / gameModelFiles().back()) << "any bytes";
    }
};

} // namespace

TEST_F(DataFolder, DataOptionThenAWorkingDirectoryWithAnyModelThenTheInstalledFolder) {
    EXPECT_EQ(chooseModelFolder("", cwd, fromBin), "") << "no models anywhere";
    putModel(installed);
    EXPECT_EQ(chooseModelFolder("", cwd, fromBin), installed.string());
    // A folder named like a model is no model.
    fs::create_directories(cwd / gameModelFiles().front());
    EXPECT_FALSE(holdsGameModels(cwd));
    EXPECT_EQ(chooseModelFolder("", cwd, fromBin), installed.string());
    putModel(cwd);
    EXPECT_EQ(chooseModelFolder("", cwd, fromBin), "");
    EXPECT_EQ(chooseModelFolder("my/models", cwd, fromBin), "my/models");
}
