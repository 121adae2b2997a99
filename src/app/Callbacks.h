#pragma once
// The window's input callbacks: every key command, and mouse presses.

enum class Command;

/// Key presses run the command bound to the key (keyBindings); releases are ignored.
void keyCallback(int key, int action);
/// Runs a command: of a key, or of a switch of the interface.
void runGameCommand(Command command);
void mouseButtonCallback(int button, int action);
/// Carries out a display-mode switch that a command asked for; called between frames, outside
/// the window's event processing. Returns whether there was one.
bool runPendingDisplaySwitch();
/// Rebuilds the window in the same mode (a new full-screen size), between frames.
void requestDisplaySwitch();
/// Forgets what the last frame's events left for their own follow-ups; called as a frame starts.
void beginInputFrame();
