// Beamworks: a 3D puzzle game about laser light.

#include "app/Editor.h"
#include "app/FrameStats.h"
#include "app/FrontDoor.h"
#include "app/Game.h"
#include "model/GameModels.h"
#include "rules/CommandLine.h"
#include "rules/Settings.h"
#include "rules/SettingsFile.h"
#include "ui/UserInterface.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <malloc.h>
#include <string>
#include <system_error>
#include <vector>

namespace {

// Names the build tree the binary comes from: a test reads it to make sure that the game it
// drives was built beside it (with the same sanitizers).
[[gnu::used]] const char BUILD_TREE_MARK[] = "beamworks build tree: " BEAMWORKS_BUILD_TREE;

// The class models are read before main runs, from the working directory.
const std::vector<std::string> missingModels = loadGameModels();

std::string workingDirectory() {
    std::error_code error;
    const std::filesystem::path cwd = std::filesystem::current_path(error);
    return error ? std::string("(unknown)") : cwd.string();
}

} // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // The drawing library allocates and frees large blocks every frame. From the heap, with small
    // blocks that stay allocated above them, their pages would stay resident once freed and the
    // game would seem to grow: give every large block its own mapping, returned when freed.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    std::cout << "=== Beamworks Alpha ===" << std::endl;
    // The player's settings file first: the command line overrides it for this run.
    const std::string settingsPath =
        settingsFilePath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
    const PlayerSettings player = loadSettings(settingsPath, std::cout);
    applyPlayerSettings(player, gameSettings, keyBindings);
    setPlayerSettings(player, settingsPath);
    bool levelGiven = false;
    std::string editFile;
    if (!parseCommandLine(argc, argv, gameSettings, levelFileName, std::cout, &levelGiven,
                          &editFile)) {
        return 0;
    }
    // Without a level the game opens on its title; a measuring run plays as it always has.
    const bool titleFirst =
        !levelGiven && editFile.empty() && !FrameStats::fromEnvironment().enabled();
    if (!missingModels.empty()) {
        for (const std::string& file : missingModels) {
            std::cout << "Cannot start: model file " << file
                      << " is missing or damaged (working directory: " << workingDirectory() << ")"
                      << std::endl;
        }
        return 1;
    }
    const std::string pictureProblem = checkInterfacePictures();
    if (!pictureProblem.empty()) {
        std::cout << pictureProblem << std::endl;
        std::cout << "Cannot start: the interface pictures are missing or damaged (working "
                     "directory: "
                  << workingDirectory() << ")" << std::endl;
        return 1;
    }
    if (!startGame(titleFirst)) {
        std::cout << "Cannot start: level file " << levelFileName
                  << " cannot be opened (working directory: " << workingDirectory() << ")"
                  << std::endl;
        return 1;
    }
    if (!editFile.empty()) {
        openEditor(editFile);
    }
    runFrameLoop();
    shutdownGame();
    return 0;
}
