#include "rules/CommandLine.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// A window dimension: the argument read as a decimal number (as atof does, text that is no
// number reads as 0) and truncated toward zero. False for values that make no window.
bool readDimension(const char* text, int& value) {
    const double number = std::trunc(std::atof(text));
    if (!(number >= 1.0 && number <= INT_MAX)) {
        return false;
    }
    value = static_cast<int>(number);
    return true;
}

// What -help says of every option, one per line.
const char* const OPTION_LINES[] = {
    "  -level N                  play the level file levelN.txt of the game folder (without "
    "-level or -file the game opens on its title screen)",
    "  -file PATH                play the level file at PATH (N and P then walk the levelN.txt "
    "files beside it)",
    "  -edit FILE                open the level FILE in the level editor (a new level when it "
    "does not exist)",
    "  -resolution WIDTH HEIGHT  open a window of WIDTH x HEIGHT pixels (default 1024 x 768)",
    "  -fullscreen               play in full screen",
    "  -help                     print this help and end",
};

void printResolution(const GameSettings& settings, std::ostream& out) {
    out << "using " << settings.screenWidth << " x " << settings.screenHeight << std::endl;
}

} // namespace

bool parseCommandLine(int argc, const char* const* argv, GameSettings& settings,
                      std::string& levelFile, std::ostream& out, bool* levelGiven,
                      std::string* editFile) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const int remaining = argc - 1 - i;
        if (std::strcmp(arg, "-resolution") == 0) {
            if (remaining < 2) {
                continue;
            }
            int width = 0, height = 0;
            if (readDimension(argv[i + 1], width) && readDimension(argv[i + 2], height)) {
                settings.screenWidth = width;
                settings.screenHeight = height;
                printResolution(settings, out);
            } else {
                out << "Resolution " << argv[i + 1] << " x " << argv[i + 2]
                    << " refused: width and height must be at least 1; keeping "
                    << settings.screenWidth << " x " << settings.screenHeight << std::endl;
            }
        } else if (std::strcmp(arg, "-fullscreen") == 0) {
            settings.windowMode = GLFW_FULLSCREEN;
            out << "fullscreen active" << std::endl;
        } else if (std::strcmp(arg, "-level") == 0) {
            if (remaining < 1) {
                continue;
            }
            const std::string name = std::string("level") + argv[i + 1] + ".txt";
            if (name.size() > LEVEL_FILE_NAME_MAX) {
                out << "Level name too long (at most " << LEVEL_FILE_NAME_MAX - 9
                    << " characters); keeping " << levelFile << std::endl;
            } else {
                levelFile = name;
                if (levelGiven != nullptr) {
                    *levelGiven = true;
                }
                printResolution(settings, out);
            }
        } else if (std::strcmp(arg, "-file") == 0) {
            if (remaining < 1) {
                continue;
            }
            const std::string path = argv[i + 1];
            if (path.empty() || path.size() > LEVEL_PATH_MAX) {
                out << "Level path empty or too long (at most " << LEVEL_PATH_MAX
                    << " characters); keeping " << levelFile << std::endl;
            } else {
                levelFile = path;
                if (levelGiven != nullptr) {
                    *levelGiven = true;
                }
                printResolution(settings, out);
            }
        } else if (std::strcmp(arg, "-edit") == 0) {
            if (remaining < 1 || editFile == nullptr) {
                continue;
            }
            const std::string path = argv[i + 1];
            if (path.empty() || path.size() > LEVEL_PATH_MAX) {
                out << "Level path empty or too long (at most " << LEVEL_PATH_MAX
                    << " characters); no editor" << std::endl;
            } else {
                *editFile = path;
            }
        } else if (std::strcmp(arg, "-help") == 0) {
            out << "USEAGE: [-fullscreeen] [-resolution WIDTH HEIGHT]" << std::endl;
            for (const char* line : OPTION_LINES) {
                out << line << std::endl;
            }
            return false;
        }
    }
    return true;
}
