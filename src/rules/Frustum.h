#pragma once
// The game's projection and its view frustum, in eye space: the drawing culls objects by their
// bounding spheres with it, and the level checker tells which elements a start view shows; and
// the rectangles of the window a mesh can cover. Pure geometry: no OpenGL.

#include "core/Matrix.h"

#include <array>
#include <cstdint>
#include <vector>

class Renderable;

/// Vertical field of view (degrees) and clip distances of every main-view projection.
constexpr double FIELD_OF_VIEW = 40.0;
constexpr double NEAR_PLANE = 0.5;
constexpr double FAR_PLANE = 2000.0;

struct FrustumPlane {
    std::array<float, 3> normal; ///< unit, pointing out of the view volume
    std::array<float, 3> point;  ///< a point on the plane
};

using Frustum = std::array<FrustumPlane, 6>;

/// The six planes (near, right, top, far, left, bottom) for the aspect width / height.
Frustum buildFrustumPlanes(double aspect);

/// True when the sphere (eye-space centre, radius) lies wholly outside one of the planes;
/// touching or crossing a plane counts as inside.
bool sphereOutside(const Frustum& frustum, const Point& centre, float radius);

/// The object's model sphere, placed by its world matrix and the view, against the frustum.
bool isOutsideFrustum(const Frustum& frustum, Renderable& object, const Matrix& view);

/// A rectangle of window pixels, origin at the bottom left: x0 <= x < x1, y0 <= y < y1.
struct ScreenRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
    bool operator==(const ScreenRect& o) const {
        return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1;
    }
};

/// The part of both rectangles.
ScreenRect intersect(const ScreenRect& a, const ScreenRect& b);
/// The smallest rectangle that holds both (an empty one adds nothing).
ScreenRect unite(const ScreenRect& a, const ScreenRect& b);

/// A perspective projection (as gluPerspective's, in degrees, with its near plane's distance)
/// onto a viewport of width x height pixels at the origin.
struct Projection {
    double fieldOfView;
    double aspect;
    double nearPlane;
    int width, height;
};

/// A rectangle of the projection's viewport that holds every pixel a mesh can cover: its
/// vertices (`positions`, x, y, z each, first scaled by scaleX and scaleY about the model's
/// origin) placed in eye space by eyeFromModel, and its triangles (`indices`, three vertex
/// numbers each) cut where they pass the near plane. The whole viewport when vertices lie
/// behind the near plane and there are no triangles to cut, or for a NaN; an empty rectangle
/// when the mesh is wholly beside, above or below the viewport or behind the near plane.
ScreenRect projectedRectangle(const Matrix& eyeFromModel, const std::vector<float>& positions,
                              const std::vector<std::uint16_t>& indices, float scaleX, float scaleY,
                              const Projection& projection);

/// projectedRectangle for the main projection on a width x height window.
ScreenRect screenRectangle(const Matrix& eyeFromModel, const std::vector<float>& positions,
                           const std::vector<std::uint16_t>& indices, int width, int height);

/// The frustum of the main projection narrowed to a rectangle of the width x height window:
/// what can reach those pixels.
Frustum frustumForRectangle(const ScreenRect& rect, int width, int height);
