#include "laser/HitShapes.h"

#include "core/Renderable.h"
#include "laser/LaserBeam.h"

#include <cmath>

namespace {

constexpr float SOLVE_EPSILON = 1e-5f;

float dot3(const float* a, const float* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

} // namespace

HitArea::HitArea(Renderable* owner_, const Point& a, const Point& b, const Point& c)
    : corner0(a), corner1(b), corner2(c), owner(owner_) {}

bool HitArea::hit(LaserBeam& beam, float& distance, float* point, float* normal, bool lineOnly) {
    const Matrix w = owner->getWorldMatrix();
    Point a0 = corner0, a1 = corner1, a2 = corner2;
    transformPoint(w, a0);
    transformPoint(w, a1);
    transformPoint(w, a2);
    const float e1[3] = {a1[0] - a0[0], a1[1] - a0[1], a1[2] - a0[2]};
    const float e2[3] = {a2[0] - a0[0], a2[1] - a0[1], a2[2] - a0[2]};
    const float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                        e1[0] * e2[1] - e1[1] * e2[0]};
    const float length = sqrtD(dot3(n, n));
    const float nHat[3] = {n[0] / length, n[1] / length, n[2] / length};

    const Point d = beam.beamDirection();
    const Point o = beam.startPoint();
    const float den = dot3(d.data(), nHat);
    if (den > 0.0f) {
        return false; // the beam comes from behind
    }
    const float tt = (dot3(nHat, a0.data()) - dot3(nHat, o.data())) / den;
    if (lineOnly) {
        distance = tt;
        return true;
    }
    if (tt < 0.0f) {
        return false;
    }
    const float q[3] = {o[0] + tt * d[0] - a0[0], o[1] + tt * d[1] - a0[1],
                        o[2] + tt * d[2] - a0[2]};

    // Solve in the two coordinates that the plane does not flatten.
    int p, r;
    if (std::fabs(n[0]) > SOLVE_EPSILON) {
        p = 1, r = 2;
    } else if (std::fabs(n[1]) > SOLVE_EPSILON) {
        p = 0, r = 2;
    } else {
        p = 0, r = 1;
    }
    float u, v;
    if (e1[p] > SOLVE_EPSILON || e1[p] < -SOLVE_EPSILON) {
        v = (q[r] * e1[p] - q[p] * e1[r]) / (e2[r] * e1[p] - e1[r] * e2[p]);
        u = (q[p] - e2[p] * v) / e1[p];
    } else {
        v = (q[r] * e2[p] - q[p] * e2[r]) / (e1[r] * e2[p] - e2[r] * e1[p]);
        u = (q[p] - e1[p] * v) / e2[p];
    }
    if (u < 0.0f || u > 1.0f || v < 0.0f || v > 1.0f) {
        return false;
    }
    if (distance > tt) {
        distance = tt;
        for (int i = 0; i < 3; ++i) {
            normal[i] = nHat[i];
            point[i] = o[i] + tt * d[i];
        }
        return true;
    }
    return false;
}

HitSphere::HitSphere(Renderable* owner_, const Point& center_, float radius_)
    : center(center_), radius(radius_), owner(owner_) {}

bool sphereDistance(const Point& origin, const Point& direction, const Point& k, float radius,
                    float& dist) {
    const float to[3] = {k[0] - origin[0], k[1] - origin[1], k[2] - origin[2]};
    const float distanceToCentre = sqrtD(dot3(to, to));
    const double theta = vectorAngle(direction[0], direction[1], direction[2], to[0], to[1], to[2]);
    if (theta > PI / 2) {
        return false; // the centre lies behind the start
    }
    const float offLine = sinD(static_cast<float>(theta)) * distanceToCentre;
    if (radius < offLine) {
        return false;
    }
    const float c = cosD(static_cast<float>(std::asin(offLine / radius)));
    dist = sqrtD(distanceToCentre * distanceToCentre + radius * radius -
                 c * 2 * distanceToCentre * radius);
    return true;
}

bool HitSphere::hit(LaserBeam& beam, float& distance, float*, float*, bool) {
    Point k = center;
    transformPoint(owner->getWorldMatrix(), k);
    float dist;
    if (!sphereDistance(beam.startPoint(), beam.beamDirection(), k, radius, dist)) {
        return false;
    }
    if (distance > dist) {
        distance = dist;
        return true;
    }
    return false;
}
