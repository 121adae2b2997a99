#pragma once
// The level editor in the game: the same room and free camera as in play, a palette that places
// elements where the pointer points, keys that move, turn, tilt, colour, scale, copy and delete
// the selected one, unlimited undo, test play (F6), saving whole files, a recovery file written
// after every edit, and the solver judging the level in the background after every edit.

#include <string>
#include <vector>

struct ScreenLabel;

/// Opens FILE in the editor ("Editor: FILE"): a new level (an empty room with a laser) when it
/// does not exist. With `copy`, FILE is a level to start from (a pack level, a level being
/// played): saving writes a copy among the player's levels, never FILE itself.
void openEditor(const std::string& file, bool copy = false);

/// A new level among the player's levels: an empty room of `width` x `height` x `depth`.
void openNewLevel(double width, double height, double depth);

/// Ends the editor at the end of the game: its judge's search stops and its thread is joined.
/// The recovery file stays (the edits were not saved).
void shutDownEditor();

/// Whether the editor is open (test play included).
bool editorIsOpen();

/// A key while the editor is open; true when the editor took it (the game does nothing more).
bool editorKey(int key, bool ctrl, bool shift);

/// The editor's frame: the selection followed into the level text, a drag's move made, the
/// judge's verdicts taken. It may replace the current level: call it before anything of the
/// frame holds on to the level.
void updateEditor();

/// The editor's lines over the scene: the palette and the state of the file.
void addEditorLabels(std::vector<ScreenLabel>& labels);

/// The judge's verdict for the field at the top ("SOLVABLE IN 3 MOVES"); "" outside the editor.
std::string editorReadout();
