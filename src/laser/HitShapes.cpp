#include "laser/HitShapes.h"

#include "core/Renderable.h"

#include <cmath>

namespace {

constexpr float SOLVE_EPSILON = 1e-5f;

float dot3(const float* a, const float* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

} // namespace

HitArea::HitArea(Renderable* owner_, const Point& a, const Point& b, const Point& c)
    : owner(owner_), corner0(a), corner1(b), corner2(c) {}

bool HitArea::hitAfterUpdate(const Ray& ray, float& distance, float* point, float* normal,
                             bool lineOnly) {
    const Matrix& w = owner->refreshedWorldMatrix();
    if (faceVersion_ == owner->worldVersion()) {
        return testFace(ray, distance, point, normal, lineOnly);
    }
    WorldFace& f = face_;
    Point a1 = corner1, a2 = corner2;
    f.a0 = corner0;
    transformPoint(w, f.a0);
    transformPoint(w, a1);
    transformPoint(w, a2);
    for (int i = 0; i < 3; ++i) {
        f.e1[i] = a1[i] - f.a0[i];
        f.e2[i] = a2[i] - f.a0[i];
    }
    f.n[0] = f.e1[1] * f.e2[2] - f.e1[2] * f.e2[1];
    f.n[1] = f.e1[2] * f.e2[0] - f.e1[0] * f.e2[2];
    f.n[2] = f.e1[0] * f.e2[1] - f.e1[1] * f.e2[0];
    const float length = sqrtD(dot3(f.n, f.n));
    for (int i = 0; i < 3; ++i) {
        f.nHat[i] = f.n[i] / length;
    }
    f.offset = dot3(f.nHat, f.a0.data());

    // Solve in the two coordinates that the plane does not flatten.
    if (std::fabs(f.n[0]) > SOLVE_EPSILON) {
        f.p = 1, f.r = 2;
    } else if (std::fabs(f.n[1]) > SOLVE_EPSILON) {
        f.p = 0, f.r = 2;
    } else {
        f.p = 0, f.r = 1;
    }
    const float* e1 = f.e1;
    const float* e2 = f.e2;
    const int p = f.p, r = f.r;
    f.alongE1 = e1[p] > SOLVE_EPSILON || e1[p] < -SOLVE_EPSILON;
    f.solveDenominator = f.alongE1 ? e2[r] * e1[p] - e1[r] * e2[p] : e1[r] * e2[p] - e2[r] * e1[p];
    faceVersion_ = owner->worldVersion();
    return testFace(ray, distance, point, normal, lineOnly);
}

bool HitArea::hit(const Ray& ray, float& distance, float* point, float* normal, bool lineOnly) {
    // Calls only in tail position, so that the common case saves no registers.
    if (!owner->isWorldMatrixCurrent() || faceVersion_ != owner->worldVersion()) {
        return hitAfterUpdate(ray, distance, point, normal, lineOnly);
    }
    return testFace(ray, distance, point, normal, lineOnly);
}

bool HitArea::testFace(const Ray& ray, float& distance, float* point, float* normal,
                       bool lineOnly) const {
    const WorldFace& f = face_;
    const Point& d = ray.direction;
    const Point& o = ray.origin;
    const float den = dot3(d.data(), f.nHat);
    // Worked out before it is known to be needed, so that one branch turns away both a ray from
    // behind and a plane behind the start.
    const float tt = (f.offset - dot3(f.nHat, o.data())) / den;
    if (lineOnly) {
        if (den > 0.0f) {
            return false; // the ray comes from behind
        }
        distance = tt;
        return true;
    }
    if ((den > 0.0f) | (tt < 0.0f)) {
        return false;
    }
    return hitInPlane(ray, tt, distance, point, normal);
}

bool HitArea::hitInPlane(const Ray& ray, float tt, float& distance, float* point,
                         float* normal) const {
    const WorldFace& f = face_;
    const Point& d = ray.direction;
    const Point& o = ray.origin;
    const float q[3] = {o[0] + tt * d[0] - f.a0[0], o[1] + tt * d[1] - f.a0[1],
                        o[2] + tt * d[2] - f.a0[2]};
    // v from the edge with a usable p component, u from the other one.
    const float* solved = f.alongE1 ? f.e1 : f.e2;
    const float* other = f.alongE1 ? f.e2 : f.e1;
    const int p = f.p, r = f.r;
    const float v = (q[r] * solved[p] - q[p] * solved[r]) / f.solveDenominator;
    const float u = (q[p] - other[p] * v) / solved[p];
    if (u < 0.0f || u > 1.0f || v < 0.0f || v > 1.0f) {
        return false;
    }
    if (distance > tt) {
        distance = tt;
        for (int i = 0; i < 3; ++i) {
            normal[i] = f.nHat[i];
            point[i] = o[i] + tt * d[i];
        }
        return true;
    }
    return false;
}

HitSphere::HitSphere(Renderable* owner_, const Point& center_, float radius_)
    : center(center_), radius(radius_), owner(owner_) {}

bool exactSphereDistance(const Point& origin, const Point& direction, const Point& k, float radius,
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
    const float c = cosD(static_cast<float>(clampedAsin(offLine / radius)));
    dist = sqrtD(distanceToCentre * distanceToCentre + radius * radius -
                 c * 2 * distanceToCentre * radius);
    return true;
}

bool HitSphere::hit(const Ray& ray, float& distance, float*, float*, bool) {
    Point k = center;
    transformPoint(owner->refreshedWorldMatrix(), k);
    float dist;
    if (!sphereDistance(ray.origin, ray.direction, k, radius, dist)) {
        return false;
    }
    if (distance > dist) {
        distance = dist;
        return true;
    }
    return false;
}
