#pragma once
// Game rules that need no window: the solved check, the energy that drains while the lasers are
// powered, and game over. The frame calls them in its order.

#include "rules/Settings.h"

class Level;

/// Asks every goal of the level (all of them, opening or closing their doors) and returns
/// whether all are satisfied; a level without goals counts as solved.
bool isLevelSolved(Level& level);

/// The same question, counted: how many goals are satisfied (their doors open) of how many.
struct GoalCount {
    int open = 0, total = 0;
    bool allOpen() const { return open == total; }
};
GoalCount countOpenGoals(Level& level);

/// Latches `levelSolved` when the level is solved now; true only in the frame that latches it.
bool latchSolved(bool solvedNow, bool& levelSolved);

/// The energy step of a frame: while the power is on and energy remains, the lasers run this
/// frame and the frame time is drained (so the energy may end below 0); otherwise the power is
/// switched off. Returns whether the lasers are to be traced.
bool drainEnergy(GameSettings& settings, double& energy, double frameTime);

/// Latches `gameOver` when the energy is used up and the level is not solved now (the latched
/// solved flag does not count); true only in the frame that latches it.
bool latchGameOver(bool solvedNow, double energy, bool& gameOver);
