#pragma once
// Builds levels from level-file text for tests, with the console lines of the loader and the
// tracer kept out of the test output.

#include "laser/Tracer.h"
#include "level/Level.h"
#include "support/TestModels.h"

#include <memory>
#include <sstream>
#include <string>

inline std::unique_ptr<Level> levelFromText(const std::string& text) {
    auto level = std::make_unique<Level>();
    std::istringstream in(text);
    captureStdout([&] { level->read(in); });
    return level;
}

/// levelFromText, then one laser update.
inline std::unique_ptr<Level> tracedLevel(const std::string& text) {
    auto level = levelFromText(text);
    captureStdout([&] { updateLasers(*level); });
    return level;
}
