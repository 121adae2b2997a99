#pragma once
// What the keys (and the interface's buttons, which press the same keys) do to the settings and
// the game state, without a window: the new setting, the console report, and what the caller
// still has to do on the display (toggle button caption, texture filters, display switch).

#include "rules/Settings.h"

#include <ostream>
#include <string>

struct CommandResult {
    bool handled = false; ///< the key is a command
    std::string toggleId; ///< when not empty: set this toggle button and flash caption
    std::string caption;
    bool on = false;                  ///< the toggle button's new state
    bool reapplyFilters = false;      ///< image texture filters must follow the new settings
    bool filtersBeforeToggle = false; ///< ... before the toggle (F4) rather than after (F5)
    bool switchDisplay = false;       ///< re-create the window in the new windowMode
    bool clearMessage = false;        ///< empty the large message
    bool selectFpsCounter = false;
    bool toggleMusic = false; ///< pause or resume the music
    bool resetView = false;   ///< the view goes back to the level's start view
    bool toggleHelp = false;  ///< open or close the help panel (settings.showHelp says which)
};

/// Carries out the command of a key press on the settings, energy and game-over flag, writing
/// its console report to `out`. Unlisted keys are not handled.
CommandResult runCommand(int key, GameSettings& settings, double& energy, bool& gameOver,
                         std::ostream& out);
