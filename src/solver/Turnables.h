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

/// A change of orientation, relative to the one the solve began with.
struct Orientation {
    int yaw;  ///< degrees about the vertical, (-180, 180]
    int tilt; ///< degrees, positive upwards
};

struct Turnable {
    ActiveObject* element; ///< the mirror, half mirror or filter (owned by the level)
    Renderable* frame;
    Renderable* holder;
    Matrix holderLocal;                    ///< as the solve found it
    Matrix frameLocal;                     ///< as the solve found it
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

/// Every heading of the circle and every tilt within 90 degrees of the un-tilted frame, in
/// steps of `step` degrees: the current orientation first, then by smaller turn.
std::vector<Orientation> orientationsFor(double currentTilt, int step);

/// The element (held by `holder`, at `activeIndex` in the level) with its orientations for the
/// step, its matrices as they are now and its sphere.
Turnable makeTurnable(ActiveObject* element, Holder* holder, int activeIndex, int step);

/// Gives the element its orientation o, built from its matrices as they were found.
void applyOrientation(Turnable& turnable, int o);

} // namespace solver
