#pragma once
// A solver for any level: finds orientations of the elements a player can turn (mirrors, half
// mirrors and colour filters) under which every goal is satisfied, changing as few of them as it
// can from the orientations they have now.
//
// What it changes: an element's heading, by turning its holder about its own y axis (rotateY on
// the element, as a sideways drag does), and its tilt, by tilting its frame (rotateX on the
// element, as a vertical drag does). The orientations it tries form a grid fixed in the holder's
// frame, whatever the element was turned to before: every heading that is a whole multiple of
// SolveOptions::stepDegrees and every such tilt within 90 degrees either way of the un-tilted
// frame (measured as solver::Pose in solver/Turnables.h says: on the floor as the game's readout
// shows them), each combined with keeping the current heading or tilt, so that an element turned
// off the grid by a fine turn can stay or go back onto it. Positions are never changed, nor any
// other element.
//
// How it searches: it follows the light. Every state is traced with the real laser update, from
// the emitter. An element gets an orientation only when light first comes near it (passes within
// the radius around its pivot that any orientation of it can reach); elements no light comes near
// keep theirs. Orientations of an element that leave the light in the same places (everything
// that can still matter: beams near undecided elements and beams into goals) are searched once
// and told apart only when new light comes near that element later. A branch ends when no light
// comes near an undecided element, or when a goal gets light of a wrong colour along a path that
// no later choice can change. Iterative deepening on the number of changed elements finds a
// solution with the fewest changes; among those the first in a fixed order (elements in the
// order light reaches them, orientations by smaller turn first). The same input gives the same
// result.
//
// Threads: the solver works on the level it is given and on nothing else but the shared class
// models, which it only reads; the game can trace its own level on its main thread meanwhile.
// The models must not be reloaded while a solve runs.

#include <atomic>
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
    /// At most this many elements may change (NoSolution when no solution changes so few); 0
    /// or less for no bound.
    int maxChangedElements = 0;
};

enum class SolveOutcome {
    Solved,     ///< turns lists the changes (empty when the level was solved already)
    NoSolution, ///< no orientations in the search space (within maxChangedElements) solve it
    TimeLimit,  ///< stopped at the time limit
    Cancelled,  ///< stopped by the cancel flag
};

/// One element to turn, relative to its orientation when the solve began: onto the grid, such a
/// turn need not be a multiple of the step (from a heading of 44 degrees, -29 reaches 15).
struct ElementTurn {
    int turnableIndex = -1;          ///< index in turnableElements(level)
    int activeIndex = -1;            ///< index in level.activeObjects
    ActiveObject* element = nullptr; ///< the mirror, half mirror or filter (owned by the level)
    double yawDegrees = 0;           ///< turn about the holder's y axis, in (-180, 180]
    double tiltDegrees = 0;          ///< tilt of the frame, positive upwards
};

struct SolveResult {
    SolveOutcome outcome = SolveOutcome::NoSolution;
    std::vector<ElementTurn> turns; ///< in the order of turnableElements
    long long states = 0;           ///< laser updates made
    double elapsedMs = 0;
};

/// The elements a player can turn, in the order of level.activeObjects: mirrors, half mirrors
/// and colour filters mounted in a frame in a holder.
std::vector<ActiveObject*> turnableElements(const Level& level);

/// Searches the level. The level comes back with every local matrix as it was given and its
/// lasers traced anew; the goals it was found solved with may have been asked (their doors set
/// opening). Step values outside 1..180 or not dividing 360 give NoSolution at once.
SolveResult solve(Level& level, const SolveOptions& options = {});

/// Applies the turns as the game does: rotateY, then rotateX, on each element.
void applyTurns(const std::vector<ElementTurn>& turns);
