#pragma once
// Playing through the pack in one launch: entering a level (at start-up, next, previous,
// restart), without a window.

#include "core/Matrix.h"

#include <memory>
#include <ostream>
#include <string>

class Level;

/// Reads the level file and, when it can be read, makes it the level being played: the old
/// level with every element, beam, light and goal is destroyed; the view goes to the new start
/// view; the energy is full; the solved and game-over latches, the selection, move mode, a
/// pending pick and the undo history are cleared; the laser power is off. Prints
/// "Level: FILE - TITLE". When the file cannot be read or holds no element, a line names it and
/// nothing changes: returns false.
bool enterLevel(const std::string& fileName, std::ostream& out);

/// Makes `level` the current one, as enterLevel does, with nothing pointing into the old one (no
/// selection, undo history, hint spot or drawing lists), but the view, the energy and the rest
/// of the game kept: the editor shows each edit this way.
void adoptLevel(std::unique_ptr<Level> level);

/// The start view of a level: the translation by its camera offset, then the camera's pitch and
/// yaw through moveView, so that the camera rules hold from the start. A pitch that would look
/// past the vertical (or turns that are not finite) are refused as moveView refuses them: the
/// view then starts level, turned by the yaw alone, and `levelled`, when given, is set true.
Matrix levelStartView(const Level& level, bool* levelled = nullptr);
