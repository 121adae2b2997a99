#pragma once
// What the fuzz targets do with one input, shared with the test that replays the inputs kept
// from earlier findings.

#include "core/Matrix.h"
#include "laser/Tracer.h"
#include "laser/TransparentOrder.h"
#include "level/Level.h"
#include "model/ModelLoader.h"
#include "rules/GameFlow.h"
#include "rules/Progress.h"
#include "rules/SettingsFile.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace fuzzing {

/// Any bytes as a 3DS model file, read and post-processed (bounding sphere, smoothing with crease
/// splitting, generated texture coordinates). The last byte picks the variant, so that plain
/// model files serve as seeds: mapping read or generated, and one of the game's crease
/// thresholds.
inline void runModelInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t pick = size > 0 ? data[size - 1] : 0;
    const float thresholds[] = {0.2f, 0.3f, 0.4f, 0.0f};
    std::vector<std::uint8_t> bytes(data, data + size);
    loadModelBytes(std::move(bytes), "fuzz.3ds", thresholds[pick & 3], (pick & 4) == 0);
}

/// Any bytes as a level file: the level is built, the laser traced once and the translucent
/// objects ordered for a view a little turned from the level's start view, so that whatever a level
/// can build is exercised, not only the reader. Needs the game's models loaded.
inline void runLevelInput(const std::uint8_t* data, std::size_t size) {
    Level level;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    level.read(in);
    updateLasers(level);
    // The level's own start view (its turns, or their refusal, included), a little turned.
    Matrix view = levelStartView(level);
    matrixRotateY(view, 0.35f, 1);
    orderTransparentObjects(*level.transparentSet, view);
}

/// Any bytes as the player's progress file: read, asked and written back in memory; whatever it
/// holds, the progress is either what the file names or empty, a best belongs to a solved level,
/// and what is written reads again as the same, without a complaint.
inline void runProgressInput(const std::uint8_t* data, std::size_t size) {
    Progress progress;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream said;
    progress.read(in, "fuzz", said);
    for (const std::string& name : progress.solved()) {
        if (!Progress::isLevelFileName(name) || !progress.isSolved(name)) {
            __builtin_trap();
        }
    }
    // A best for a level not solved, or out of range, would not read back.
    std::stringstream written;
    progress.write(written);
    Progress again;
    if (!again.read(written, "fuzz", said) || again.best() != progress.best() ||
        again.solved() != progress.solved()) {
        __builtin_trap();
    }
}

/// Any bytes as the player's settings file: whatever it holds, what is read is written back and
/// reads again as the same settings, without a complaint.
inline void runSettingsInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream said;
    const PlayerSettings first = readSettings(in, "fuzz", said);
    std::stringstream written;
    writeSettings(written, first);
    std::ostringstream again;
    if (!(readSettings(written, "fuzz", again) == first) || !again.str().empty()) {
        __builtin_trap();
    }
}

} // namespace fuzzing
