#pragma once
// What the fuzz targets do with one input, shared with the test that replays the inputs kept
// from earlier findings.

#include "core/Matrix.h"
#include "laser/Tracer.h"
#include "laser/TransparentOrder.h"
#include "level/Level.h"
#include "model/ModelLoader.h"
#include "rules/GameFlow.h"
#include "rules/LevelEditor.h"
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

/// Every property of the document written anew from its values.
inline std::string rewrittenText(LevelDocument document) {
    for (Piece& piece : document.pieces) {
        for (Property& property : piece.properties) {
            property.rewrite();
        }
    }
    return document.text();
}

/// Any bytes as a level opened in the level editor. When it opens, it writes back the same
/// bytes; written with every directive anew it opens again and writes anew to the same text; a
/// few edits of one of its pieces leave a text that opens and writes back alike.
inline void runEditorInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    LevelEditor editor;
    if (!editor.open(text)) {
        return;
    }
    if (editor.text() != text) {
        __builtin_trap();
    }
    const std::string anew = rewrittenText(editor.document());
    LevelDocument again;
    if (!again.parse(anew) || rewrittenText(again) != anew) {
        __builtin_trap();
    }
    // Edits of one piece, the one the first byte picks: each builds the level once or twice.
    if (editor.count() > 0) {
        const int i = data[0] % editor.count();
        const double step[3] = {25, 0, -25};
        editor.move(i, step);
        editor.turn(i, 15);
        editor.tilt(i, -10);
        editor.stepColour(i);
        editor.rename(i, text.substr(size / 2, 30));
    }
    editor.setTitle(text.substr(0, 40));
    const std::string edited = editor.text();
    LevelEditor reopened;
    if (!reopened.open(edited) || reopened.text() != edited) {
        __builtin_trap();
    }
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
