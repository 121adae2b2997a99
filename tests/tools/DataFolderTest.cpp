// Where the tools read the models from without --data: the working directory when it holds
// models, else the installed data folder when that does.

#include "DataFolder.h"
#include "model/GameModels.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(DataFolder, DataOptionThenAWorkingDirectoryWithAnyModelThenTheInstalledFolder) {
    const ScratchDir root("datafolder");
    const fs::path cwd = root.path / "levels", installed = root.path / "usr/share/games/beamworks";
    // The installed folder as a tool in usr/bin finds it.
    const fs::path fromBin = root.path / "usr/bin/../share/games/beamworks";
    fs::create_directories(cwd);
    fs::create_directories(installed);
    const auto putModel = [](const fs::path& folder) {
        std::ofstream(folder / gameModelFiles().back()) << "any bytes";
    };

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
