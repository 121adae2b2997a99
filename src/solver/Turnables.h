#pragma once
// The solver's view of the elements it may turn and carry: each one's holder and frame with their
// matrices as the solve found them, the places its holder may stand (where it stands first, then
// the places a carry puts it), the orientations the search tries in each, and a sphere that holds
// the element in all of them. Internal to the solver (solver/Solver.h is its interface).

#include "core/Matrix.h"

#include <vector>

class ActiveObject;
class Holder;
class Renderable;

namespace solver {

/// A change of orientation, in degrees (multiples of a thousandth of a degree), in one of the
/// holder's places: relative to the orientation the solve began with in the place it began in,
/// relative to the orientation a carry leaves in the others.
struct Orientation {
    double yaw;    ///< about the holder's y axis, (-180, 180]
    double tilt;   ///< of the frame, positive upwards
    int place = 0; ///< index in Turnable::places
};

/// Where an element faces in its holder's own frame, in degrees rounded to a thousandth (so that
/// the rounding noise of turned matrices does not count): the heading about the holder's y axis,
/// growing as rotateY turns it, and the tilt of the frame's -Z axis above the holder's horizontal
/// plane, positive upwards, in (-180, 180]. A holder standing on the floor has the heading and
/// tilt of the game's readout (0 along world -z); on a wall or the ceiling the heading is
/// measured from world -z laid into the wall's plane (from the wall normal crossed with world up
/// on a wall that faces along z), where a carried holder's zero heading lies.
struct Pose {
    double heading;
    double tilt;
};

/// A spot on a wall, floor or ceiling surface (a face of a wall slab) where a carry sets a holder
/// down, as the game's carry takes it: the point under the pointer and the face's outward unit
/// normal, world units.
struct Spot {
    double point[3];
    double normal[3];
    int wall = -1; ///< the slab's index in level.activeObjects
};

/// A place the holder stands in: place 0 is where the solve found it; the others are carries.
struct Place {
    Matrix holderLocal; ///< the holder's matrix there, before any turn (a carry keeps the heading)
    Pose pose;          ///< the element's pose there, before any turn
    Spot spot;          ///< where it was set down (not for place 0)
    int first = 0;      ///< its orientations in Turnable::orientations, from first ...
    int count = 0;      ///< ... on: the first keeps the pose
};

struct Turnable {
    ActiveObject* element; ///< the mirror, half mirror or filter (owned by the level)
    Renderable* frame;
    Holder* holder;
    Matrix holderLocal; ///< as the solve found it
    Matrix frameLocal;  ///< as the solve found it
    Pose pose;          ///< as the solve found it
    /// Every orientation in every place, in runs of one place each (Place::first, count);
    /// [0] is the element as it was found.
    std::vector<Orientation> orientations;
    std::vector<Place> places;
    int activeIndex; ///< index in level.activeObjects
    int applied = 0; ///< index into orientations
    /// A sphere that holds the element in every orientation in its current place: around the
    /// holder's origin, the pivot of both turns.
    double centre[3];
    double radius;
};

/// The holder of a mirror, half mirror or filter mounted in a frame in a holder; null for any
/// other element.
Holder* holderOf(const ActiveObject* element);

/// The turns to every heading that is a whole multiple of `step` degrees and every such tilt
/// within 90 degrees of the un-tilted frame, each combined with keeping the current heading or
/// tilt (so that an element the player fine-tuned off that grid may stay as it is): the current
/// orientation first, then by smaller turn, then the smaller tilt, turns right and up before
/// left and down. Of two that put the pane in the same place (a heading half round from the
/// other's and the tilt the other way) only the first is kept.
std::vector<Orientation> orientationsFor(const Pose& current, int step);

/// Whether the search from `current` (orientationsFor) tries the pose `other` of the element,
/// or one that puts the pane in the same place.
bool searchesPose(const Pose& current, const Pose& other, int step);

/// The element (held by `holder`, at `activeIndex` in the level) with its orientations for the
/// step in the place it stands in, its matrices as they are now and its sphere.
Turnable makeTurnable(ActiveObject* element, Holder* holder, int activeIndex, int step);

/// The pose of the element whose holder has the world matrix `holderWorld` and whose frame has
/// the local matrix `frameLocal`.
Pose poseOf(const Matrix& holderWorld, const Matrix& frameLocal);

/// Adds a place for the holder: `holderLocal` as a carry to `spot` leaves it, with the
/// orientations `extra` (turns from the pose there, tried first) and the grid of the step.
/// Returns the place's index.
int addPlace(Turnable& turnable, const Matrix& holderLocal, const Spot& spot,
             const std::vector<Orientation>& extra, int step);

/// Gives the element its orientation o (in o's place), built from its matrices as they were
/// found.
void applyOrientation(Turnable& turnable, int o);

/// Degrees to the radians the level reader and the game use.
float radians(double degrees);
/// Into (-180, 180], to a thousandth.
double normalised(double degrees);
/// To a thousandth.
double thousandths(double degrees);

} // namespace solver
