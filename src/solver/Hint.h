#pragma once
// What a hint tells the player: the first step of a solution (a turn, or a carry of a holder to a
// spot described in words), from the player's view, or why there is none. Left and right are as
// a sideways drag turns an element (and as the '[' and ']' keys do): the side of the element
// nearest the viewer moves that way.
//
// For the game: findHint runs on a worker thread (SolveOptions::cancel stops it soon after);
// the first step is search.result.turns.front(): the element (activeIndex in the level's
// activeObjects), for a carry its Carry (where placeOnWall sets the holder down, the holder's
// matrix there, the heading and tilt the element ends in, the spot in words), and the turn
// (yawDegrees, tiltDegrees) from where it stands, or from the orientation the carry leaves. With
// SolveOptions::findPar, search.result.par is the fewest moves that solve the level from where
// the player stands (ElementTurn::moves counts them).

#include "solver/Solver.h"

class ActiveObject;

#include <string>

/// Energy in seconds a hint takes when it is shown.
constexpr double HINT_ENERGY_COST = 20.0;

/// Why a search from where the player stands found no hint.
enum class NoHint {
    None,         ///< it found one, or everything is in place
    OutOfTime,    ///< it stopped (time limit or cancel) before finding one
    FromHere,     ///< no turns solve the level from here; nothing more is known
    RestoreLevel, ///< no turns solve it from here, but they do from the level as its file has it
    CarryAHolder, ///< no turns solve it from here, nor from the level as its file has it (a
                  ///< search that was not to carry)
    NoWay,        ///< no turns and carries solve it, here or from the level as its file has it
};

struct HintSearch {
    SolveResult result; ///< the search from where the player stands
    NoHint reason = NoHint::None;
};

/// Solves `now`, the level as the player has it. When nothing solves it, tells why from
/// `shipped`, the same level as its file has it: when every holder of `now` stands where it does
/// there and the search from `now` tried the orientations it has there, nothing solves the level
/// at all (with SolveOptions::carry; else a holder must be carried); otherwise it solves `shipped`
/// too, in what is left of the time limit. Both levels come back as solve leaves them.
HintSearch findHint(Level& now, Level& shipped, const SolveOptions& options);

/// What a hint says. The message fits a line of the game's large font in an 800-pixel window
/// (40 characters at most).
struct Hint {
    bool helps = false; ///< there is a change to show (a hint is only paid for then)
    std::string
        message; ///< large on screen: "TURN THIS MIRROR 30 DEGREES LEFT", "CARRY THIS MIRROR"
    /// For a carry, where to: "ON THE CEILING ABOVE THE COLLECTOR" (at most 40 characters);
    /// empty otherwise.
    std::string detail;
    std::string console; ///< "Hint: turn Mirror 5 by -30 degrees about its holder's axis"
};

/// The element's class name as the console names elements: "Mirror", "MirrorHalf",
/// "ColorFilter" (others "Element").
std::string elementClassName(const ActiveObject& element);

/// The element as a player names it: "MIRROR", "HALF MIRROR", "FILTER", "LASER", "COLLECTOR",
/// "GOAL" (others "ELEMENT").
std::string spokenName(const ActiveObject& element);

/// A change in words, naming the element by its 1-based number in the level's activeObjects
/// (as describeHint names it on the console), directions as in a hint: "TURN MIRROR 2 30 DEGREES
/// LEFT", "TILT FILTER 4 15 DEGREES UP", "TURN MIRROR 2 30 DEGREES LEFT, TILT 15 DEGREES UP",
/// "CARRY MIRROR 2 ON THE BACK WALL", "CARRY MIRROR 2 ON THE BACK WALL, TURN 30 DEGREES LEFT".
std::string describeChange(const ElementTurn& turn);

/// What to say for a search: the first step of a solution, naming the element by its class and
/// its 1-based number in the level's activeObjects list: a carry (the spot in words, and on the
/// console where and how it ends turned), or a turn (the turn about the holder's axis before a
/// tilt, unless it is under half a degree and a tilt follows, in whole degrees, "A LITTLE" under
/// half a degree); that everything is in place already; or why there is no hint.
Hint describeHint(const HintSearch& search);
