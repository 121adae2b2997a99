#pragma once
// What a hint tells the player: the first change of a solution, in words, from the player's
// view. Left and right are as a sideways drag turns an element (and as the '[' and ']' keys do):
// the side of the element nearest the viewer moves that way.

#include "solver/Solver.h"

#include <string>

/// Energy in seconds a hint takes when it is shown.
constexpr double HINT_ENERGY_COST = 20.0;

struct Hint {
    bool helps = false;  ///< there is a change to show (a hint is only paid for then)
    std::string message; ///< large on screen: "TURN THIS MIRROR 30 DEGREES LEFT"
    std::string console; ///< "Hint: turn Mirror 5 by -30 degrees about the vertical"
};

/// The element's class name as the console names elements: "Mirror", "MirrorHalf",
/// "ColorFilter" (others "Element").
std::string elementClassName(const ActiveObject& element);

/// What to say for a solver's result: the first turn of a solution (a turn about the vertical
/// before a tilt), naming the element by its class and its 1-based number in the level's
/// activeObjects list; that everything is in place already; or that there is no hint from here.
Hint describeHint(const SolveResult& result);
