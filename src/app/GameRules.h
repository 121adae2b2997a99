#pragma once
// Game rules that need no window.

class Level;

/// Asks every goal of the level (all of them, opening or closing their doors) and returns
/// whether all are satisfied; a level without goals counts as solved.
bool isLevelSolved(Level& level);
