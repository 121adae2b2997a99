#pragma once
// Where the search carries a holder, and how it turns it there: the spots on the walls, the
// floor, the ceiling and the blocks where the holder meets a beam of a traced state, whether
// light sent on from a spot can reach a goal in its colour, the orientations that send the beam
// exactly at the centre of an element in sight, and the words for a spot. Internal to the solver
// (solver/Solver.h is its interface).

#include "laser/LaserBeam.h"
#include "laser/Ray.h"
#include "solver/TracedLight.h"
#include "solver/Turnables.h"

#include <map>
#include <string>
#include <vector>

class ActiveObject;
class Level;

namespace solver {

/// A spot where a carried holder meets light: the spot its foot is set on and the beam whose
/// light its pane takes there.
struct CarrySpot {
    Spot spot;
    Ray beam;           ///< from the beam's start, unit direction
    signed char colour; ///< of the beam there
    bool beamEnds;      ///< the beam ends on this surface (else it passes beside it)
};

/// The spots of the level's beams and what can be seen from them. Reads the walls and elements
/// of the level it was made for; the spots of a beam are worked out once.
class Carrier {
  public:
    explicit Carrier(Level& level);

    /// Where a holder meets the light of segment s, without repeats, the spot where it ends on
    /// a surface first:
    /// - where a beam ends on a wall slab, the spot whose pane centre (20 units off the surface,
    ///   as the game's carry hangs it) lies on the beam, or the end itself where the beam grazes
    ///   the surface;
    /// - every 100 units along a beam that passes within reach of a pane on a surface (a
    ///   surface at most 100 units across from it), the spot across from it.
    const std::vector<CarrySpot>& spotsOf(const Segment& s);

    /// Whether light of `colour` sent on from the spot's pane can make a goal's colour: a goal
    /// not lit right (`goalLit`, by level.goals) is in sight of the pane's centre and the
    /// filters whose spheres the way passes can leave it the goal's colour (`turnables` for
    /// where they stand), or a collector is in sight and the colour is part of such a goal's.
    bool sendsOn(const CarrySpot& spot, int colour, const std::vector<bool>& goalLit,
                 const std::vector<Turnable>& turnables);

    /// The turns, from the pose a carry leaves (the holder already set down on the spot, with
    /// the frame's matrix `frameLocal`), that send the spot's beam off the element exactly at
    /// the centre of each goal, collector, mirror, half mirror and filter in sight (the line from
    /// where the beam meets the pane to the centre passes no wall): goals first, then the others
    /// in the order of the level; none for a filter, which sends the light straight on.
    std::vector<Orientation> aimsFrom(ActiveObject& element, const Matrix& frameLocal,
                                      const CarrySpot& spot);

    /// The distance from `origin` along the unit `dir` to the nearest wall, with the point met
    /// and the face's unit normal (and the wall's id when asked); infinite when it meets none.
    double cast(const double origin[3], const double dir[3], double point[3], double normal[3],
                int* wall = nullptr);

  private:
    bool spotAtEnd(const Segment& s, Spot& spot);
    bool inSight(const double from[3], const double to[3], double radius);

    Level& level_;
    LaserBeam probe_;
    std::vector<ActiveObject*> walls_;
    std::vector<int> wallIds_;
    std::map<Key, std::vector<CarrySpot>> spots_;
};

/// Sets the holder down on the spot as the game's carry does (placeOnWall), keeping the heading
/// that its world matrix `before` had.
void carryHolder(Holder& holder, const Matrix& before, const Spot& spot);

/// Words for a spot, at most 40 characters: the surface ("ON THE CEILING", "ON THE FLOOR", "ON
/// THE LEFT WALL" for the room's wall at -x, right at +x, back at -z, front at +z, as the
/// level's default view along -z sees them; "ON A BLOCK", "UNDER A BLOCK", "ON THE SIDE OF A
/// BLOCK" for the blocks inside) and the nearest goal, collector, laser, filter, mirror or half
/// mirror other than `carried` within 300 units of the pane ("ON THE CEILING ABOVE THE
/// COLLECTOR", "ON THE FLOOR NEAR THE RED GOAL").
std::string describeSpot(Level& level, const Spot& spot, const ActiveObject* carried);

} // namespace solver
