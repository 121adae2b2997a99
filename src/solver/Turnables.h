#pragma once
// The solver's view of the elements it may turn: each one's holder and frame with their matrices
// as the solve found them, the orientations the search tries, and a sphere that holds the
// element in all of them. Internal to the solver (solver/Solver.h is its interface).

#include "core/Matrix.h"

#include <vector>

class ActiveObject;
class Holder;
class Renderable;

namespace solver {

/// A change of orientation, relative to the one the solve began with, in degrees (multiples of
/// a thousandth of a degree).
struct Orientation {
    double yaw;  ///< about the holder's y axis, (-180, 180]
    double tilt; ///< of the frame, positive upwards
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

struct Turnable {
    ActiveObject* element; ///< the mirror, half mirror or filter (owned by the level)
    Renderable* frame;
    Renderable* holder;
    Matrix holderLocal;                    ///< as the solve found it
    Matrix frameLocal;                     ///< as the solve found it
    Pose pose;                             ///< as the solve found it
    std::vector<Orientation> orientations; ///< [0] is the current one
    int activeIndex;                       ///< index in level.activeObjects
    int applied = 0;                       ///< index into orientations
    /// A sphere that holds the element in every orientation: around the holder's origin, the
    /// pivot of both turns.
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
/// left and down.
std::vector<Orientation> orientationsFor(const Pose& current, int step);

/// Whether the search from `current` (orientationsFor) tries the pose `other` of the element.
bool searchesPose(const Pose& current, const Pose& other, int step);

/// The element (held by `holder`, at `activeIndex` in the level) with its orientations for the
/// step, its matrices as they are now and its sphere.
Turnable makeTurnable(ActiveObject* element, Holder* holder, int activeIndex, int step);

/// Gives the element its orientation o, built from its matrices as they were found.
void applyOrientation(Turnable& turnable, int o);

} // namespace solver
