#pragma once
// The command line: -resolution WIDTH HEIGHT, -fullscreen, -level N, -file PATH, -edit FILE,
// -help.

#include "rules/Settings.h"

#include <ostream>
#include <string>

/// Reads the arguments (argv[1] to argv[argc - 1]) into the settings and the level file name,
/// writing the console lines to `out`. Each argument is compared exactly with the option names;
/// unknown arguments and options that lack their values are ignored, and option values are not
/// skipped (they are examined as arguments in turn). Returns false when -help was given: the
/// usage line and a line per option are printed and the program is to end at once. `levelGiven`,
/// when given, is set true when -level or -file chose the level; `editFile`, when given, gets the
/// file of -edit.
bool parseCommandLine(int argc, const char* const* argv, GameSettings& settings,
                      std::string& levelFile, std::ostream& out, bool* levelGiven = nullptr,
                      std::string* editFile = nullptr);
