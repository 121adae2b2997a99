#pragma once
// A solver for any level: finds the changes a player makes to the mirrors, half mirrors and colour
// filters (turning them, and carrying their holders onto the walls, the floor, the ceiling and
// the blocks) under which every goal is satisfied, as few as it can from the state they are in.
//
// Turns: an element's heading, by turning its holder about its own y axis (rotateY on the
// element, as a sideways drag does), and its tilt, by tilting its frame (rotateX on the element,
// as a vertical drag does). The orientations it tries form a grid fixed in the holder's frame,
// whatever the element was turned to before: every heading that is a whole multiple of
// SolveOptions::stepDegrees and every such tilt within 90 degrees either way of the un-tilted
// frame (measured as solver::Pose in solver/Turnables.h says: on the floor as the game's readout
// shows them), each combined with keeping the current heading or tilt, so that an element turned
// off the grid by a fine turn can stay or go back onto it. Of two orientations that put the pane
// in the same place (a heading half round and the tilt the other way) only the smaller is tried.
//
// Carries: a holder is set down as the game's carry sets it (placeOnWall: its foot on the
// surface, its y axis along the surface's normal, its heading kept) where it meets light of a
// state the search traced: where a beam ends on a surface (the spot whose pane centre lies on the
// beam), and every 100 units along a beam that passes within reach of a pane on a surface; only
// at spots whose light can go on to a goal in its colour (a goal not lit right in sight of the
// pane, through filters that can leave it that colour, or a collector in sight and the colour
// part of such a goal's), and never where the placement rule (rules/Placement.h) refuses it.
// There it tries the orientation the carry leaves, the orientations that send the beam exactly at
// the centre of a goal, collector, mirror, half mirror or filter in sight (the mirror's normal
// halves the angle between the beam and the way to the target), and the grid, keeping those that
// send the light on to a goal, a collector or an element no light met before. Only a holder that
// no light has come near is carried, at most once. Emitters, goals, collectors, walls and lamps
// never change.
//
// What it prefers: a solution that only turns to one that carries (a carry is searched only when
// no turns solve the level); among those, the fewest moves (a turn is one move, a carry one, a
// carry that must also turn the holder two), then the fewer carries, then the smallest turns.
//
// How it searches: it follows the light. Every state is traced with the real laser update, from
// the emitter, and the trace kept: a state met again is not traced again. An element gets an
// orientation only when light first comes near it (passes within the radius around its pivot that
// any orientation of it can reach); elements no light comes near keep theirs. Orientations of an
// element that leave the light in the same places (everything that can still matter: beams near
// undecided elements, beams into goals, and while a holder may be carried, beams with spots that
// send light on) are searched once and told apart only when new light comes near that element
// later. A holder is carried when the light comes near no undecided element, to the spots of that
// state's light. A branch ends when nothing can change the light any more, when a goal gets light
// of a wrong colour along a path that no later choice can change, or when a goal that only a carry
// can light has no carry left in the budget or can no longer get its colour. Before any trace, a
// goal whose colour no mix of the level's light can make, or that walls close in away from the
// laser, ends the search, and one whose colour no turnable element can get sends it straight to
// carries (solver/Reach.h). Iterative deepening on the moves finds a solution with the fewest;
// among those the first in a fixed order (elements in the order light reaches them, orientations
// by smaller turn first). The same input gives the same result.
//
// Threads: the solver works on the level it is given and on nothing else but the shared class
// models, which it only reads; the game can trace its own level on its main thread meanwhile.
// The models must not be reloaded while a solve runs.

#include "core/Matrix.h"

#include <atomic>
#include <string>
#include <vector>

class ActiveObject;
class Level;

struct SolveOptions {
    /// Degrees per turn and tilt step; must divide 360 (1 to 180).
    int stepDegrees = 15;
    /// Wall-clock limit in seconds; 0 or less for none.
    double timeLimitSeconds = 0;
    /// When set and it becomes true, the search stops soon after (outcome Cancelled).
    const std::atomic<bool>* cancel = nullptr;
    /// At most this many elements may change, a carried one counting once (NoSolution when no
    /// solution changes so few); 0 or less for no bound.
    int maxChangedElements = 0;
    /// Whether holders may be carried when no turns solve the level.
    bool carry = true;
    /// Also find the par (SolveResult::par): the fewest moves that solve the level, carries
    /// included, even when turns alone solve it with more.
    bool findPar = false;
};

enum class SolveOutcome {
    Solved,     ///< turns lists the changes (empty when the level was solved already)
    NoSolution, ///< no changes in the search space (within maxChangedElements) solve it
    TimeLimit,  ///< stopped at the time limit
    Cancelled,  ///< stopped by the cancel flag
};

/// A carry of an element's holder, as the game's carry makes it: placeOnWall(holder, its world
/// matrix before, point, normal) sets it down, keeping its heading.
struct Carry {
    bool carried = false;
    float point[3] = {0, 0, 0};  ///< the spot on the surface, world units
    float normal[3] = {0, 0, 0}; ///< the surface's outward unit normal
    int wall = -1;               ///< the wall slab's index in level.activeObjects
    Matrix holder;               ///< the holder's local matrix after the carry, before any turn
    /// Where the element faces after the carry and its turns, in the holder's frame there
    /// (solver::Pose): heading about the holder's y axis and tilt of the frame, degrees.
    double heading = 0, tilt = 0;
    /// Words for the spot, 40 characters at most: "ON THE CEILING ABOVE THE COLLECTOR".
    std::string place;
};

/// One element to change: turned where it stands relative to its orientation when the solve
/// began (onto the grid, such a turn need not be a multiple of the step: from a heading of 44
/// degrees, -29 reaches 15), or carried and then turned relative to the orientation the carry
/// leaves.
struct ElementTurn {
    int turnableIndex = -1;          ///< index in turnableElements(level)
    int activeIndex = -1;            ///< index in level.activeObjects
    ActiveObject* element = nullptr; ///< the mirror, half mirror or filter (owned by the level)
    double yawDegrees = 0;           ///< turn about the holder's y axis, in (-180, 180]
    double tiltDegrees = 0;          ///< tilt of the frame, positive upwards
    Carry carry;                     ///< the carry before the turn, if any
    /// Moves it takes: a turn one, a carry one, a carry and a turn two.
    int moves() const { return carry.carried && (yawDegrees != 0 || tiltDegrees != 0) ? 2 : 1; }
};

struct SolveResult {
    SolveOutcome outcome = SolveOutcome::NoSolution;
    /// The changes, in the order the light reaches the elements in the solution's search (the
    /// first is the first step to take).
    std::vector<ElementTurn> turns;
    long long states = 0; ///< laser updates made
    double elapsedMs = 0;
    int moves = 0; ///< the solution's moves (ElementTurn::moves summed)
    /// With SolveOptions::findPar, the fewest moves that solve the level (a carry with a turn
    /// counting two), carries allowed; -1 without, or when the level is not solved.
    int par = -1;
    /// With SolveOptions::findPar, when a solution with carries takes fewer moves than `turns`
    /// (which only turns): its changes, `par` moves, in the same order; else empty.
    std::vector<ElementTurn> parTurns;
    bool carries() const { return carried() > 0; }
    /// The holders carried.
    int carried() const {
        int n = 0;
        for (const ElementTurn& t : turns) {
            n += t.carry.carried ? 1 : 0;
        }
        return n;
    }
};

/// The elements a player can turn and carry, in the order of level.activeObjects: mirrors, half
/// mirrors and colour filters mounted in a frame in a holder.
std::vector<ActiveObject*> turnableElements(const Level& level);

/// Searches the level. The level comes back with every local matrix as it was given and its
/// lasers traced anew; the goals it was found solved with may have been asked (their doors set
/// opening). Step values outside 1..180 or not dividing 360 give NoSolution at once.
SolveResult solve(Level& level, const SolveOptions& options = {});

/// Makes the changes as the game does: for a carry placeOnWall, then rotateY, then rotateX on
/// each element.
void applyTurns(const std::vector<ElementTurn>& turns);
