#pragma once
// What the light of a level can reach at all, before any search: whether every goal can get
// light of its colour, by turning or only by carrying. Internal to the solver.
//
// Colours: light starts white at the emitter; a filter leaves the colours it shares with a beam,
// a collector sends out the mix of what it gathers. A turnable element can send light anywhere,
// but light that no turnable element takes up goes where it goes: the emitter's beam and a
// collector's follow their fixed line to the first thing they hit. So a goal can get a colour
// by turns when that colour reaches a turnable element (or comes along a fixed line into the
// goal); by carries, a holder can be hung in any beam, so when the colour can be made at all.
//
// Walls: a goal inside a box whose six faces lie wholly within wall slabs, with the emitter
// outside it, gets no light at all (a beam crossing a face would cross a slab).

#include <vector>

class Level;

namespace solver {

struct Turnable;

enum class Reach {
    Turning,  ///< as far as this tells, turns may solve the level
    Carrying, ///< only carries may: some goal's colour reaches no turnable element
    Never,    ///< some goal's colour cannot be made, or a goal is walled in away from the laser
};

/// A fixed line of light (the emitter's or a collector's) that passes no turnable element: from
/// `start` along the unit `dir` for `length` (infinite when it meets nothing).
struct FixedLine {
    double start[3];
    double dir[3];
    double length;
    int source; ///< the emitter or collector, by its index in level.activeObjects
    int end;    ///< what it ends on, by its index in level.activeObjects; -1 for nothing
};

/// What a goal needs that turns cannot give.
struct GoalNeeds {
    /// Its colour reaches no turnable element: only light that a carried holder takes up from
    /// one of `lines` can make it (with what turnable elements carry).
    bool carry = false;
    std::vector<FixedLine> lines;
    /// The colours that a filter which keeps the goal's colour takes out.
    int filterable = 0;
};

/// Whether the goals can be lit in their colours; `carry` when holders may be carried. With
/// `needs`, says for each of level.goals what it needs that turns cannot give.
Reach goalsReach(Level& level, const std::vector<Turnable>& turnables, bool carry,
                 std::vector<GoalNeeds>* needs = nullptr);

/// Why a goal can never get light of its colour, whatever turns and carries do.
enum class GoalBlock {
    None,          ///< nothing this can tell stops it
    WalledIn,      ///< walls close it in away from the laser
    ColourNotMade, ///< no mix of the level's light, through its filters and collectors, is its
                   ///< colour
};

/// For each of level.goals, why it never gets its colour; all None when the level has no emitter
/// as its first element.
std::vector<GoalBlock> blockedGoals(Level& level, const std::vector<Turnable>& turnables);

} // namespace solver
