#pragma once

#include <string>
// The game's run after the command line: start-up, the frame loop and shutdown.

/// Seconds between the starts of two frames at most 101 frames a second.
constexpr double FRAME_INTERVAL = 1.0 / 101.0;
/// While a hint is looked for, a frame starts no sooner than this many times the last one's own
/// time after it: the rest is the search's.
constexpr double HINT_FRAME_STRETCH = 1.15;

/// Loads the level (the title screen's level when `titleFirst`, opening the title), opens the
/// display, creates the camera, applies the mirror-count limits, starts the music and runs and
/// times the first laser update. Returns false (after the loader's console line) when the level
/// file cannot be opened: the program then stops before opening a window.
bool startGame(bool titleFirst = false);

/// Runs frames while the game is running and the window is open.
void runFrameLoop();

/// Stops the music and shuts the window library down.
void shutdownGame();

enum class Command;
/// The commands of the play-through: the next, previous or same level (loaded between frames),
/// undo, redo and a hint.
void playThroughCommand(Command command);

/// Plays the level file (loaded between frames).
void playLevel(const std::string& file);

/// After the current level was replaced in place (the editor's level after an edit): its
/// shadows, reflections, beams and drawing order made anew.
void refreshShownLevel();
