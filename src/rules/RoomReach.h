#pragma once
// How far the player can look inside a level's room: the projection draws nothing beyond its far
// distance (FAR_PLANE, Frustum.h), so from no place the eye can stand may a corner of the room lie
// farther. Pure geometry over the level's walls; no window.
//
// The room is an axis-aligned box that holds every point of the closed room around the start
// eye, whatever its shape. Its side towards +x lies at the largest x where some wall's face looks
// along -x, back into the room: the inner face of an axis-aligned slab (a block inside the room
// has its faces nearer and does not count; a slab turned by exactly 90 degrees is axis-aligned),
// or, for a slab turned any other way, its largest x, as any part of it may face the room. The
// other five sides likewise. A point of the room with the largest x touches a wall from the -x
// side, so it lies within that side; walls outside the room can only make the box larger.
//
// The eye stays CAMERA_WALL_DISTANCE from every wall face, so it stands within the room box
// shrunk by that distance; an eye that starts nearer a wall may stay there, so the eye box also
// holds the start eye. The farthest distance is the one from a corner of the eye box to the
// opposite corner of the room box: no view direction needs the far plane to reach farther.

#include "rules/Frustum.h"

class Level;

/// The distance within which the room must lie: the far distance less a margin, so that
/// rounding never cuts a corner.
constexpr double ROOM_REACH_LIMIT = FAR_PLANE - 10;

/// The room box described above: its least and largest x, y and z. False when the walls leave
/// it open along some axis (no wall face at both ends), as in a level without walls.
bool roomBox(const Level& level, double low[3], double high[3]);

/// The farthest distance in world units from any place the eye can stand in the level to any
/// point of its room (see above); infinity when the walls do not close the room around the start
/// eye (no wall face beyond it along some axis).
double farthestRoomDistance(const Level& level);
