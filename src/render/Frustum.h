#pragma once
// The view frustum of the main view, in eye space, for culling objects by their bounding
// sphere. Pure geometry: no OpenGL.

#include "core/Matrix.h"

#include <array>

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
