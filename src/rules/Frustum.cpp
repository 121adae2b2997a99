#include "rules/Frustum.h"

#include "core/Model.h"
#include "core/Renderable.h"

#include <algorithm>
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

ScreenRect intersect(const ScreenRect& a, const ScreenRect& b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

ScreenRect unite(const ScreenRect& a, const ScreenRect& b) {
    if (a.empty()) {
        return b;
    }
    if (b.empty()) {
        return a;
    }
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

ScreenRect screenRectangle(const Matrix& eyeFromModel, const std::vector<float>& positions,
                           const std::vector<std::uint16_t>& indices, int width, int height) {
    const Projection main{FIELD_OF_VIEW, static_cast<double>(width) / height, NEAR_PLANE, width,
                          height};
    return projectedRectangle(eyeFromModel, positions, indices, 1, 1, main);
}

ScreenRect projectedRectangle(const Matrix& eyeFromModel, const std::vector<float>& positions,
                              const std::vector<std::uint16_t>& indices, float scaleX, float scaleY,
                              const Projection& projection) {
    const int width = projection.width, height = projection.height;
    const ScreenRect window{0, 0, width, height};
    const double f = 1.0 / std::tan(projection.fieldOfView / 2 / 180.0 * PI);
    const double aspect = projection.aspect;
    // Triangles are cut where they pass the near plane; cutting them at half its distance keeps
    // a little more of each, never less.
    const double cut = projection.nearPlane / 2;
    static thread_local std::vector<Point> eye; // kept: no allocation after the first meshes
    eye.clear();
    double minX = 1e30, minY = 1e30, maxX = -1e30, maxY = -1e30;
    const auto add = [&](const Point& p) {
        const double depth = -static_cast<double>(p[2]);
        const double x = (f / aspect * p[0] / depth + 1) / 2 * width;
        const double y = (f * p[1] / depth + 1) / 2 * height;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    bool anyCut = false;
    for (std::size_t i = 0; i + 2 < positions.size(); i += 3) {
        Point p{positions[i] * scaleX, positions[i + 1] * scaleY, positions[i + 2], 1};
        transformPoint(eyeFromModel, p);
        if (std::isnan(p[0]) || std::isnan(p[1]) || std::isnan(p[2])) {
            return window;
        }
        eye.push_back(p);
        if (-static_cast<double>(p[2]) >= cut) {
            add(p);
        } else {
            anyCut = true;
        }
    }
    if (anyCut) {
        if (indices.empty()) {
            return window; // no edges to cut: what lies behind says nothing
        }
        // Where each edge that crosses the cut meets it.
        for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
            for (int e = 0; e < 3; ++e) {
                const std::size_t a = indices[t + e], b = indices[t + (e + 1) % 3];
                if (a >= eye.size() || b >= eye.size()) {
                    return window;
                }
                const double za = -eye[a][2], zb = -eye[b][2];
                if ((za >= cut) == (zb >= cut)) {
                    continue;
                }
                const double s = (cut - za) / (zb - za);
                Point q{};
                for (int k = 0; k < 3; ++k) {
                    q[k] = static_cast<float>(eye[a][k] + s * (eye[b][k] - eye[a][k]));
                }
                q[2] = static_cast<float>(-cut);
                add(q);
            }
        }
    }
    if (minX > maxX) {
        return {}; // nothing in front
    }
    // A pixel of margin on each side for the rasteriser's own rounding.
    const auto low = [](double v, int limit) {
        return static_cast<int>(std::clamp(std::floor(v) - 1, -1.0, limit + 1.0));
    };
    const auto high = [](double v, int limit) {
        return static_cast<int>(std::clamp(std::ceil(v) + 1, -1.0, limit + 1.0));
    };
    return intersect(window,
                     {low(minX, width), low(minY, height), high(maxX, width), high(maxY, height)});
}

Frustum frustumForRectangle(const ScreenRect& rect, int width, int height) {
    const double t = std::tan(FIELD_OF_VIEW / 2 / 180.0 * PI);
    const double aspect = static_cast<double>(width) / height;
    // The rectangle's edges on the plane one unit in front of the eye.
    const auto across = [&](int x) {
        return static_cast<float>((2.0 * x / width - 1) * t * aspect);
    };
    const auto up = [&](int y) { return static_cast<float>((2.0 * y / height - 1) * t); };
    const float left = across(rect.x0), right = across(rect.x1);
    const float bottom = up(rect.y0), top = up(rect.y1);
    Frustum planes = buildFrustumPlanes(aspect);
    const std::array<float, 3> eye{0, 0, 0};
    // Side planes through the eye: (x, y, z) is inside while left * -z <= x <= right * -z, and
    // the same for y.
    planes[1] = {unit({1, 0, right}), eye};
    planes[2] = {unit({0, 1, top}), eye};
    planes[4] = {unit({-1, 0, -left}), eye};
    planes[5] = {unit({0, -1, -bottom}), eye};
    return planes;
}
