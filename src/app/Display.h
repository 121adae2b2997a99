#pragma once

#include <memory>
// The window with its OpenGL state, textures and shader program. Created at start-up and again
// by the display-mode switch, which re-creates every OpenGL object.

/// Opens the window from the settings and sets up all OpenGL state, the input callbacks, the
/// image library, the frustum, the textures and the shader program. When the window cannot be
/// opened: "Could not create window" on standard error, the window library shut down, and
/// nothing else is set up.
void initDisplay();

class UserInterface;

/// The on-screen interface; re-created with the display.
extern std::unique_ptr<UserInterface> userInterface;

/// Creates the interface, hands it the command handler for its switches and sets every switch
/// from the current settings.
void createUserInterface();

enum class Command;
struct GameSettings;
struct SwitchState;

/// Sets the command's switch (when there is an interface) to what the settings and the music say,
/// and returns what it shows.
SwitchState showSwitch(Command command, const GameSettings& settings);
