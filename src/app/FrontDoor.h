#pragma once
// The menus over the scene: the title screen, the map of the levels, the settings screen (which
// changes the player's settings file) and the help opened from the title. While one is open,
// keys and clicks are its, the bars are hidden and the laser is off.

#include "rules/Menus.h"

#include <string>

struct PlayerSettings;

/// The player's settings as their file holds them (the command line's changes for this run are
/// not among them), and the file the settings screen saves them to.
void setPlayerSettings(const PlayerSettings& settings, const std::string& path);

/// The game opens on the title screen; ESC in a level then goes back to it.
void setTitleFirst(bool titleFirst);
bool isTitleFirst();

/// The pack level behind the title, which Continue plays: the first not solved (level 1 when
/// every level is). Needs the progress loaded.
std::string titleLevel();

/// Opens a screen (None closes the menu), printing "Menu: title" and the like.
void openMenu(MenuScreen screen);

/// The player's data folder, where the progress file is ("" when there is none).
std::string playerDataFolder();
/// The player's own levels folder, beside the progress file ("" when there is no data folder).
std::string ownLevelsFolder();
/// The file of the editor's last verdicts on the player's levels, beside the progress file.
std::string levelChecksFile();

/// A key press while a menu is open.
void menuKey(int key, bool ctrl, bool shift);
/// A mouse button while a menu is open (window coordinates).
void menuMouseButton(int button, int action, int x, int y);
/// Each frame while a menu is open, before the view is used: the row under the pointer, the
/// wheel, and the slow turn of the view behind the title.
void updateMenu(double frameTime);
