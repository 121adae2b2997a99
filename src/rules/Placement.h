#pragma once
// The placement overlap test of an element the player moves: no window needed, so the frame and
// the level tests share it.

class Level;
class Renderable;

/// True when `a` and `b` are the same object or one is an ancestor of the other: an element,
/// its frame and its holder are related to each other.
bool isSameMount(const Renderable& a, const Renderable& b);

/// True when the selected element (a mirror, half mirror or filter) overlaps another object of
/// the level: its bounding sphere (centre getBoundingCenter, radius getCollisionRadius) comes
/// strictly closer than the sum of the radii to that of an active object that is not in the same
/// mount and has a positive collision radius (holders, frames and walls have -1 and never
/// block). A null selection is never blocked. Reads the scene only; selection flags are ignored.
bool isPlacementBlocked(Level& level, Renderable* selected);
