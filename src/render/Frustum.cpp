#include "render/Frustum.h"

#include "core/Renderable.h"
#include "core/Model.h"

#include <cmath>

namespace {

std::array<float, 3> cross(const std::array<float, 3>& a, const std::array<float, 3>& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

std::array<float, 3> unit(const std::array<float, 3>& v) {
    const float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return {v[0] / l, v[1] / l, v[2] / l};
}

} // namespace

Frustum buildFrustumPlanes(double aspect) {
    const double t = std::tan(FIELD_OF_VIEW / 2 / 180.0 * PI);
    const float hn = static_cast<float>(2 * NEAR_PLANE * t),
                hf = static_cast<float>(2 * FAR_PLANE * t);
    const float wn = static_cast<float>(hn * aspect), wf = static_cast<float>(hf * aspect);
    const float n = static_cast<float>(NEAR_PLANE), f = static_cast<float>(FAR_PLANE);
    const std::array<float, 3> nearCorner{wn / 2, hn / 2, -n};
    const std::array<float, 3> farCorner{-wf / 2, -hf / 2, -f};
    // Side planes pass through the eye; their outward normals follow from two edge directions.
    const std::array<float, 3> topRight{wf / 2, hf / 2, -f}, bottomLeft{-wf / 2, -hf / 2, -f};
    const std::array<float, 3> topLeft{-wf / 2, hf / 2, -f}, bottomRight{wf / 2, -hf / 2, -f};
    Frustum planes;
    planes[0] = {{0, 0, 1}, nearCorner};                           // near
    planes[1] = {unit(cross(bottomRight, topRight)), nearCorner};  // right
    planes[2] = {unit(cross(topRight, topLeft)), nearCorner};      // top
    planes[3] = {{0, 0, -1}, farCorner};                           // far
    planes[4] = {unit(cross(topLeft, bottomLeft)), farCorner};     // left
    planes[5] = {unit(cross(bottomLeft, bottomRight)), farCorner}; // bottom
    return planes;
}

bool sphereOutside(const Frustum& frustum, const Point& centre, float radius) {
    for (const FrustumPlane& p : frustum) {
        const float s = p.normal[0] * (centre[0] - p.point[0]) +
                        p.normal[1] * (centre[1] - p.point[1]) +
                        p.normal[2] * (centre[2] - p.point[2]);
        if (s > radius) {
            return true;
        }
    }
    return false;
}

bool isOutsideFrustum(const Frustum& frustum, Renderable& object, const Matrix& view) {
    const Model* model = object.getModel();
    if (!model) {
        return false;
    }
    const Matrix world = object.getWorldMatrix();
    Point c{model->centre[0], model->centre[1], model->centre[2], 1};
    transformPoint(world, c);
    transformPoint(view, c);
    return sphereOutside(frustum, c, model->radius * maxScale(world));
}
