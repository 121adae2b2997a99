#pragma once
// The player's hold on the scene: the selected element, the camera's view changes and the
// element manipulation rules, as plain functions over matrices and scene objects (no window).
// Rates are scaled by k = frame time / 0.033 s, one unit per frame at about 30 frames a second.

#include "core/Matrix.h"

#include <cstdint>
#include <vector>

class Renderable;

/// Frame time that one unit of motion stands for.
constexpr double MOTION_FRAME_TIME = 0.033;
/// Two left presses closer than this make a double click.
constexpr double DOUBLE_CLICK_TIME = 0.3;

extern Renderable* selectedElement; ///< the selected element, or null
extern bool selectionActive;
extern int lastWheel;        ///< mouse-wheel position of the previous frame
extern double lastClickTime; ///< time of the last accepted left press

/// Moves the view in eye space by (tx, ty, tz), then turns it about the eye's vertical axis by
/// yaw and about its horizontal axis by pitch (radians), then removes any roll. When the world's
/// up direction would point within 0.005 of horizontal or below (looking past straight up or
/// down), the whole change is dropped: returns false and leaves the view as it was.
bool moveView(Matrix& view, float tx, float ty, float tz, float yaw, float pitch);

/// The horizontal world direction (x, 0, z, 0), normalised, that a screen direction (the arrow
/// keys: (0, 0, -1) down, (0, 0, 1) up, (-1, 0, 0) left, (1, 0, 0) right) takes under the view.
Point horizontalDirection(const Matrix& view, const Point& screenDirection);

/// What a left press does, given the time since the last accepted one.
struct LeftPress {
    bool single;      ///< accepted as a single click ("---klick---")
    bool pick;        ///< ... and not blocked: pick anew ("---- 2 ----")
    bool doubleClick; ///< a second press within DOUBLE_CLICK_TIME
};
LeftPress classifyLeftPress(double now, double lastClick, bool placementBlocked);

/// From the hit records of a picking pass (name count, minimum depth, maximum depth, names...),
/// the last name of the record with the smallest minimum depth (0 when there is none).
unsigned int chooseHit(int hitCount, const std::vector<std::uint32_t>& buffer);

/// The element a click on `object` selects: the element in a holder's frame, the element in a
/// frame, or the object itself.
Renderable* selectionFor(Renderable* object);

/// The root of an object's holder group (follows the parents up).
Renderable* groupRoot(Renderable* object);

/// Stands the root 20 units off a wall at the hit point h with the wall's unit normal n: its
/// transform is reset (scale kept), it is moved there, its y axis turned along n, and it keeps
/// the heading that `oldWorld` (its world matrix before) had.
void placeOnWall(Renderable& root, const Matrix& oldWorld, const Point& h, const Point& n);
