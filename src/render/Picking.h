#pragma once
// Picking an element under the mouse with OpenGL's selection mode, and what it takes to go from
// the window to the world and back.

#include "core/Matrix.h"
#include "render/GL.h"

/// The current viewport and projection, and a view as the modelview matrix, in the form
/// gluProject and gluUnProject take them.
struct ScreenProjection {
    GLint viewport[4];
    GLdouble projection[16];
    GLdouble modelview[16];
};
ScreenProjection currentScreenProjection(const Matrix& view);

/// The line under the window point (x, y), pixels from the top-left: its points on the near and
/// the far clipping plane, world coordinates.
void pointerLine(const ScreenProjection& screen, int x, int y, double nearPoint[3],
                 double farPoint[3]);

/// Draws every selectable object (frustum-culled when culling is on) with its own selection name
/// into a 5 x 5 pixel pick region around where the click was pressed (pickX, pickY), and selects
/// the nearest hit: a holder or a frame selects the element it holds. A click on nothing selectable
/// clears the selection and move mode, unless the moved element overlaps another one.
void pickObject();
