#pragma once

#include <string>
// What the game tells the player on screen: the level's introduction, the help panel with every
// control, and the colour labels over goals and filters.

/// Opens the introduction of the level being played (its title, its comment as written, the
/// level's start message "LEVEL 3 - SOLVED BEFORE", how to start and where the help is) in the
/// interface's panel.
void showLevelIntroduction();
/// Closes the introduction (the first click or key does, and nothing else).
void closeLevelIntroduction();

/// Opens or closes the help panel as gameSettings.showHelp says, with `text` over the keys.
void showHelpPanel(const std::string& text = "");

/// Puts the colour labels over the goals and filters in front of the camera, or none when the
/// labels are off, and "CARRY HERE" by a hint's carry spot (pointed at from the window's edge
/// when it is out of view). Uses the current projection and viewMatrix.
void updateColourLabels();
