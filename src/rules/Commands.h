#pragma once
// What the commands do to the settings and the game state, without a window: the new setting,
// the console report, and what the caller still has to do on the display (switch caption,
// texture filters, display switch).

#include "rules/CommandTable.h"
#include "rules/Settings.h"

#include <ostream>
#include <string>

struct CommandResult {
    bool handled = false; ///< the command is one of the settings' and the game state's
    std::string toggleId; ///< when not empty: set this toggle button and flash caption
    std::string caption;
    bool on = false;                  ///< the toggle button's new state
    bool reapplyFilters = false;      ///< image texture filters must follow the new settings
    bool filtersBeforeToggle = false; ///< ... before the toggle (F4) rather than after (F5)
    bool switchDisplay = false;       ///< re-create the window in the new windowMode
    bool clearMessage = false;        ///< empty the large message
    bool selectFpsCounter = false;
    bool selectLaserCounter = false;
    bool toggleMusic = false; ///< pause or resume the music
    bool resetView = false;   ///< the view goes back to the level's start view
    bool toggleHelp = false;  ///< open or close the help panel (settings.showHelp says which)
};

/// Carries out a command on the settings, energy and game-over flag, writing its console report
/// to `out`. Commands of the view, the elements and the play-through are not handled here.
CommandResult runCommand(Command command, GameSettings& settings, double& energy, bool& gameOver,
                         std::ostream& out);
