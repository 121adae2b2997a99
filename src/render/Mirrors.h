#pragma once
// Mirror reflections: each mirror (and half mirror) in view shows the scene reflected about its
// plane, confined to the mirror's visible area by the stencil buffer and cut at the mirror's
// plane by a user clip plane; a mirror seen in a mirror reflects once more (second level).
// With renderOptions.fastPasses each reflection is also scissored to the mirror's rectangle on
// screen (within visibleArea, or within the outer mirror's rectangle), a mirror without one is
// left out, and the reflected scene is culled against that rectangle's part of the view and
// the mirror's plane: the stencil marks confine the pixels the same way.

#include "core/Matrix.h"

#include <functional>

/// 1 for reflections seen directly, 2 for reflections seen in a mirror; the frame sets 1.
extern int reflectionLevel;

/// The reflection about the plane through `point` with unit `normal`.
Matrix reflectionMatrix(const Point& normal, const Point& point);

/// Draws every mirror's reflection at the current reflection level, then the mirror itself;
/// afterEachMirror (if given) runs after each mirror, for timing them one by one.
void drawMirrors(const std::function<void()>& afterEachMirror = {});
