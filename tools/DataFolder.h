#pragma once
// Where the command-line tools (beamworks-check and its kind) read the game's models from. The
// rule, in order:
//   1. the folder given with --data, always;
//   2. the working directory, when it holds any of the game's model files: a staged game folder
//      such as build/game, or a level designer's own copy;
//   3. the installed data folder, found relative to the program itself (../share/games/beamworks
//      from bin/), when it holds any, so that an installed tool works from any folder;
//   4. the working directory after all, so that the error names the files where they were missed.

#include <filesystem>
#include <string>

/// Whether `folder` holds any of the files gameModelFiles() names.
bool holdsGameModels(const std::filesystem::path& folder);

/// The rule above over explicit folders: the folder to load the models from, "" for the working
/// directory.
std::string chooseModelFolder(const std::string& dataOption,
                              const std::filesystem::path& workingDirectory,
                              const std::filesystem::path& installedData);

/// The rule for this program: the installed data folder is BEAMWORKS_INSTALLED_DATA below the
/// folder of the running executable.
std::string toolModelFolder(const std::string& dataOption);
