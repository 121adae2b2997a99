#pragma once
// The player's settings file: plain `name = value` lines that a person can edit, read at the start
// and written whole (to a temporary file, then renamed) when a setting changes. Unknown names and
// bad values are reported on one console line each and the default stands for them; a missing
// file means every default.

#include "rules/CommandTable.h"

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

/// What the player chooses, with the game's defaults.
struct PlayerSettings {
    int width = 1024, height = 768; ///< window size, pixels (at least 1)
    bool fullscreen = false;
    bool music = true;
    int musicVolume = 100;   ///< 0 to 100
    bool effects = true;     ///< the sound effects
    int effectsVolume = 100; ///< 0 to 100
    double lookSpeed = 1.0;  ///< how fast the view turns, 0.25 to 4 times the game's own
    double turnSpeed = 1.0;  ///< how fast a drag turns an element, likewise
    bool invertLook = false; ///< turning the view up and down the other way
    double uiScale = 1.0;    ///< 1, 1.5 or 2
    bool colourLabels = false;
    int reflections = 2; ///< levels of reflection drawn: 0, 1 or 2
    bool shadows = true;
    bool relaxedEnergy = false; ///< the power never runs out
    /// The bindings that differ from the table's defaults, in the table's order.
    std::vector<std::pair<Command, std::vector<KeyChord>>> keys;

    bool operator==(const PlayerSettings& o) const;
};

/// `$XDG_CONFIG_HOME/beamworks/settings.conf`, or `$HOME/.config/beamworks/settings.conf` when
/// XDG_CONFIG_HOME is unset, empty or relative; "" when neither gives an absolute folder.
std::string settingsFilePath(const char* xdgConfigHome, const char* home);

/// The chord a name gives ("Ctrl+Shift+Z", "F3", "Page Down", "SPACE", "#"; letters in either
/// case), as chordName writes it; false for a name no key has.
bool chordFromName(const std::string& name, KeyChord& chord);

/// Reads settings lines; for each line it cannot use, one console line naming the file (`source`)
/// and the line's number, and the default stays. Blank lines and lines starting with '#' are
/// comments.
PlayerSettings readSettings(std::istream& in, const std::string& source, std::ostream& out);

/// Writes every setting as a line, the keys only where they differ from the defaults.
void writeSettings(std::ostream& out, const PlayerSettings& settings);

/// Writes the file whole to PATH.tmp and renames it over PATH (creating its folder); prints
/// "Settings saved: PATH", or one line saying why it could not. Returns whether it saved.
bool saveSettings(const std::string& path, const PlayerSettings& settings, std::ostream& out);

/// Puts the settings into the game's: window size and mode, music, sound effects, their volumes,
/// the speeds of turning, the interface's scale, colour labels, reflections, shadows, relaxed
/// energy and the key bindings.
void applyPlayerSettings(const PlayerSettings& player, GameSettings& game, KeyBindings& bindings);

/// Puts the one setting NAME (as the file names it; "width" and "height" both give the window
/// size) into the game's settings, leaving the others as they are: a window size given on the
/// command line stays when the music's volume changes. Nothing for an unknown name.
void applySetting(const PlayerSettings& player, const std::string& name, GameSettings& game);

/// The settings in the file at `path`: every default when it is missing, and a console line for
/// a file that cannot be read.
PlayerSettings loadSettings(const std::string& path, std::ostream& out);
