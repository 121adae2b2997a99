#pragma once
// The view commands that turn or place the eye for the player: looking at the selected element
// from where the eye is, and the overview of the whole puzzle from under the ceiling. Plain
// functions over the view matrix and the level (no window). Headings are about the vertical,
// 0 looking along -z and growing towards +x; pitches are positive looking down; both radians.

#include "core/Matrix.h"
#include "rules/Frustum.h"

#include <string>

class Level;
class Renderable;

/// The steepest a view command looks up or down, in degrees: well short of the vertical, where
/// moveView refuses every change.
constexpr double STEEPEST_VIEW = 80.0;

/// The view from `eye` (world) turned to heading and pitch, without roll.
Matrix viewFrom(const Point& eye, double heading, double pitch);

/// Turns the view, the eye staying where it is, to face `target` (world); up or down it stops
/// at STEEPEST_VIEW (straight up or down, it keeps its heading). False, and the view unchanged,
/// when the target is at the eye.
bool lookAt(Matrix& view, const Point& target);

/// The look key: lookAt the selected element's centre. Without a selection the view stays, and
/// the message to show says why ("" otherwise).
std::string lookAtSelection(Matrix& view, Renderable* selected);

/// The view over the whole puzzle (every active object that takes part in the placement test:
/// elements, emitters, collectors, goals) from inside the room: the eye stands
/// CAMERA_WALL_DISTANCE or more from every wall (so under the ceiling) and within the box of
/// the walls, looking down as steeply as lets every object wholly into `visible` (the frustum
/// of the scene's part of the window), at most STEEPEST_VIEW and at least 30 degrees, from the
/// view's own heading or, when that cannot show them all, a quarter, a half or three quarters
/// round. Where the room allows no such place, the one that shows the most. The view itself
/// when the level has no such objects.
Matrix overviewView(Level& level, const Matrix& view, const Frustum& visible);

/// The way back from the overview: the view before it and where the overview put the eye.
struct OverviewReturn {
    bool set = false;
    Matrix view;
    Point eye{};
};

/// The overview key. While the eye is where the overview put it (the view may have turned
/// there), back to the view before the overview; otherwise (the eye moved, or no overview yet)
/// the overview, remembering the way back. Returns whether it went back.
bool toggleOverview(Matrix& view, OverviewReturn& back, Level& level, const Frustum& visible);
