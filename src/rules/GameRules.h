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

/// How the solved state changed in a frame.
enum class SolvedChange { None, Solved, Reopened };
/// Follows the solved state: `levelSolved` is whether every goal was satisfied at the last
/// check, and the change tells the frame that it became so (the "LEVEL SOLVED" banner shows and
/// the solve is recorded) or stopped being so (an undo or a turn opened a goal again: the banner
/// goes, the recorded solve stays).
SolvedChange followSolved(bool solvedNow, bool& levelSolved);

/// The energy step of a frame: while the power is on and energy remains, the lasers run this
/// frame and the frame time is drained (so the energy may end below 0); otherwise the power is
/// switched off. With relaxed energy nothing drains. Returns whether the lasers are to be traced.
bool drainEnergy(GameSettings& settings, double& energy, double frameTime);

/// Latches `gameOver` when the energy is used up, solved level or not (the power is off and the
/// player must be told); true only in the frame that latches it.
bool latchGameOver(double energy, bool& gameOver);
