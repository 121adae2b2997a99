#pragma once
// The placement overlap test of an element the player moves: no window needed, so the frame and
// the level tests share it.

#include <string>

class ActiveObject;
class Level;
class Renderable;

/// True when `a` and `b` are the same object or one is an ancestor of the other: an element,
/// its frame and its holder are related to each other.
bool isSameMount(const Renderable& a, const Renderable& b);

/// What refuses the selected element (a mirror, half mirror or filter) its place: the first
/// object of the level, in the list's order, whose bounding sphere its own (centre
/// getBoundingCenter, radius getCollisionRadius) comes strictly closer to than the sum of the
/// radii, among the active objects that are not in the same mount and have a positive collision
/// radius (holders, frames and walls have -1 and never refuse). Null when the place is allowed,
/// and for a null selection. Reads the scene only; selection flags are ignored.
ActiveObject* placementBlocker(Level& level, Renderable* selected);

/// The frame's flag: whether placementBlocker refuses the place.
inline bool isPlacementBlocked(Level& level, Renderable* selected) {
    return placementBlocker(level, selected) != nullptr;
}

/// Why the place is refused, short enough for the counter field: "TOO CLOSE TO THE FILTER".
std::string refusalText(const ActiveObject& blocker);
