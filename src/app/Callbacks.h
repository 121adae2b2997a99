#pragma once
// The window's input callbacks: every key command, and mouse presses.

/// Key presses carry the commands of the key table; releases are ignored.
void keyCallback(int key, int action);
void mouseButtonCallback(int button, int action);
/// Carries out a display-mode switch that a command asked for; called between frames, outside
/// the window's event processing. Returns whether there was one.
bool runPendingDisplaySwitch();
/// Forgets what the last frame's events left for their own follow-ups; called as a frame starts.
void beginInputFrame();
