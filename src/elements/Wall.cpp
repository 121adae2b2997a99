#include "elements/Wall.h"

#include "laser/HitShapes.h"
#include "model/GameModels.h"

#include <algorithm>
#include <cmath>

Wall::Wall() {
    const float white[4] = {1, 1, 1, 1};
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), white);
    }
    textureIndex = 7;
    constexpr float X = HALF_X, Y = HALF_Y, Z = HALF_Z;
    const Point faces[6][3] = {
        {{-X, -Y, Z, 1}, {X, -Y, Z, 1}, {-X, Y, Z, 1}},
        {{-X, -Y, -Z, 1}, {-X, Y, -Z, 1}, {X, -Y, -Z, 1}},
        {{-X, -Y, Z, 1}, {-X, -Y, -Z, 1}, {X, -Y, Z, 1}},
        {{X, Y, Z, 1}, {X, Y, -Z, 1}, {-X, Y, Z, 1}},
        {{-X, -Y, Z, 1}, {-X, Y, Z, 1}, {-X, -Y, -Z, 1}},
        {{X, Y, Z, 1}, {X, -Y, Z, 1}, {X, Y, -Z, 1}},
    };
    for (const auto& f : faces) {
        blockingShapes.push_back(std::make_unique<HitArea>(this, f[0], f[1], f[2]));
    }
}

Model* Wall::getModel() {
    return gameModels().wall.get();
}

bool Wall::hitsBoundingSphere(const Ray&, float&) {
    return true;
}

namespace {

using Vec = std::array<double, 3>;

Vec sub(const Vec& a, const Vec& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
double dot(const Vec& a, const Vec& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double segmentDistance(const Vec& p, const Vec& a, const Vec& b) {
    const Vec ab = sub(b, a), ap = sub(p, a);
    const double len2 = dot(ab, ab);
    const double t = len2 > 0 ? std::clamp(dot(ap, ab) / len2, 0.0, 1.0) : 0.0;
    const Vec d = {ap[0] - t * ab[0], ap[1] - t * ab[1], ap[2] - t * ab[2]};
    return std::sqrt(dot(d, d));
}

// The distance from p to the parallelogram a + u e1 + v e2 (0 <= u, v <= 1).
double parallelogramDistance(const Vec& p, const Vec& a, const Vec& e1, const Vec& e2) {
    const Vec d = sub(p, a);
    const double g11 = dot(e1, e1), g12 = dot(e1, e2), g22 = dot(e2, e2);
    const double det = g11 * g22 - g12 * g12;
    if (det > 0) {
        const double r1 = dot(e1, d), r2 = dot(e2, d);
        const double u = (g22 * r1 - g12 * r2) / det, v = (g11 * r2 - g12 * r1) / det;
        if (u >= 0 && u <= 1 && v >= 0 && v <= 1) {
            const Vec n = cross(e1, e2);
            return std::abs(dot(d, n)) / std::sqrt(dot(n, n));
        }
    }
    const Vec b = {a[0] + e1[0], a[1] + e1[1], a[2] + e1[2]};
    const Vec c = {a[0] + e2[0], a[1] + e2[1], a[2] + e2[2]};
    const Vec e = {b[0] + e2[0], b[1] + e2[1], b[2] + e2[2]};
    return std::min({segmentDistance(p, a, b), segmentDistance(p, a, c), segmentDistance(p, b, e),
                     segmentDistance(p, c, e)});
}

} // namespace

float Wall::distanceTo(const Point& p) {
    const Matrix& world = refreshedWorldMatrix();
    const auto toWorld = [&](float x, float y, float z) {
        Point q{x, y, z, 1};
        transformPoint(world, q);
        return Vec{q[0], q[1], q[2]};
    };
    // One corner and the three edges from it; the faces are the parallelograms on pairs of
    // edges from this corner and from the opposite one.
    const Vec o = toWorld(-HALF_X, -HALF_Y, -HALF_Z);
    const Vec ex = sub(toWorld(HALF_X, -HALF_Y, -HALF_Z), o);
    const Vec ey = sub(toWorld(-HALF_X, HALF_Y, -HALF_Z), o);
    const Vec ez = sub(toWorld(-HALF_X, -HALF_Y, HALF_Z), o);
    const Vec q = {p[0], p[1], p[2]};
    // Inside: the point's coordinates along the three edges all lie in [0, 1].
    const double det = dot(ex, cross(ey, ez));
    if (det != 0) {
        const Vec d = sub(q, o);
        const double a = dot(d, cross(ey, ez)) / det;
        const double b = dot(ex, cross(d, ez)) / det;
        const double c = dot(ex, cross(ey, d)) / det;
        if (a >= 0 && a <= 1 && b >= 0 && b <= 1 && c >= 0 && c <= 1) {
            return 0.0f;
        }
    }
    const Vec far = {o[0] + ex[0] + ey[0] + ez[0], o[1] + ex[1] + ey[1] + ez[1],
                     o[2] + ex[2] + ey[2] + ez[2]};
    const Vec mx = {-ex[0], -ex[1], -ex[2]}, my = {-ey[0], -ey[1], -ey[2]},
              mz = {-ez[0], -ez[1], -ez[2]};
    return static_cast<float>(
        std::min({parallelogramDistance(q, o, ex, ey), parallelogramDistance(q, o, ey, ez),
                  parallelogramDistance(q, o, ex, ez), parallelogramDistance(q, far, mx, my),
                  parallelogramDistance(q, far, my, mz), parallelogramDistance(q, far, mx, mz)}));
}

std::array<Point, 8> Wall::corners(ActiveObject& slab) {
    const Matrix& world = slab.refreshedWorldMatrix();
    std::array<Point, 8> all;
    for (int i = 0; i < 8; ++i) {
        all[i] = {i & 1 ? HALF_X : -HALF_X, i & 2 ? HALF_Y : -HALF_Y, i & 4 ? HALF_Z : -HALF_Z, 1};
        transformPoint(world, all[i]);
    }
    return all;
}
