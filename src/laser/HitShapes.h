#pragma once
// The invisible shapes that beams hit: one-sided parallelograms and spheres placed on an
// element and followed in world space as the element moves.

#include "core/Matrix.h"
#include "laser/Ray.h"

#include <cstdint>

class Renderable;

/// Start used for the nearest distance of a hit test.
constexpr float NO_HIT_DISTANCE = 999999.0f;

class HitObject {
  public:
    virtual ~HitObject() = default;
    /// Tests the ray. distance holds the nearest hit found so far and receives a strictly nearer
    /// one. A face also writes the hit point and its unit normal (3 floats each). In line mode a
    /// face stores the signed distance of its plane along the ray's line whatever it is, writes
    /// nothing else and returns true unless the ray comes from behind; spheres ignore the mode.
    virtual bool hit(const Ray& ray, float& distance, float* point, float* normal,
                     bool lineOnly) = 0;
};

/// The parallelogram corner0 + u (corner1 - corner0) + v (corner2 - corner0), 0 <= u, v <= 1, in
/// the owner's local coordinates. Its front faces along (corner1 - corner0) x (corner2 -
/// corner0); only rays travelling against that normal hit it. Edges belong to the face.
///
/// The face's world geometry is kept from one test to the next as long as the owner's world
/// matrix keeps its version; corners and owner are therefore fixed at construction. (Aligned to
/// a cache line: a test that turns the ray away reads the first line only.)
class alignas(64) HitArea : public HitObject {
  public:
    HitArea(Renderable* owner, const Point& a, const Point& b, const Point& c);
    bool hit(const Ray& ray, float& distance, float* point, float* normal, bool lineOnly) override;

    Renderable* const owner; ///< not owned

  private:
    // The face in world space and what the test derives from it alone; the part that turns away
    // rays from behind comes first.
    struct WorldFace {
        float nHat[3];          ///< n normalised
        float offset;           ///< nHat . a0
        Point a0;               ///< corner0
        float e1[3], e2[3];     ///< the edges from corner0 to corner1 and corner2
        float n[3];             ///< e1 x e2
        int p, r;               ///< the two coordinates the face is solved in
        bool alongE1;           ///< solved through e1[p] (else through e2[p])
        float solveDenominator; ///< of v in that solution
    };
    // The test proper, on face_ (which the caller brought up to date).
    bool testFace(const Ray& ray, float& distance, float* point, float* normal,
                  bool lineOnly) const;
    // hit for a face that may have to be rebuilt first.
    bool hitAfterUpdate(const Ray& ray, float& distance, float* point, float* normal,
                        bool lineOnly);
    // The rest of a hit test for a ray that meets the plane at tt >= 0 from the front.
    bool hitInPlane(const Ray& ray, float tt, float& distance, float* point, float* normal) const;

    std::uint64_t faceVersion_ = 0; ///< the owner's world version face_ belongs to
    WorldFace face_{};

  public:
    const Point corner0, corner1, corner2;
};

/// A sphere whose centre sits in the owner's local coordinates; its radius is in world units
/// (the owner's scale does not change it). The hit distance is an estimate, not the exact entry.
class HitSphere : public HitObject {
  public:
    HitSphere(Renderable* owner, const Point& center, float radius);
    bool hit(const Ray& ray, float& distance, float* point, float* normal, bool lineOnly) override;

    Point center;
    float radius;
    Renderable* owner; ///< not owned
};

/// True only when the sphere test below certainly fails: the centre k lies well behind the start
/// of the ray (origin, direction) or the line passes well clear of the sphere. Squared lengths
/// from float dot products, no root and no angle. With D the distance to the centre, the rounding
/// of both this and the exact test stays below a millionth of the radius plus D; the margins (a
/// thousandth of the radius, 3e-3 D) leave everything in between to the exact test. Directions
/// far from unit length, non-finite values and sizes below 1e-15 never satisfy the conditions.
inline bool sphereClearlyMissed(const Point& origin, const Point& direction, const Point& k,
                                float radius) {
    const float* d = direction.data();
    const float dd = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    const float to[3] = {k[0] - origin[0], k[1] - origin[1], k[2] - origin[2]};
    const float toLength2 = to[0] * to[0] + to[1] * to[1] + to[2] * to[2];
    const float along = to[0] * d[0] + to[1] * d[1] + to[2] * d[2];
    const float along2 = along * along;
    // Behind: the cosine of the angle to the centre is below -1e-4.
    const bool behind = (along < 0.0f) & (along2 > (toLength2 * 1e-8f + 1e-30f) * dd);
    // Clear: the squared distance of the centre from the line, times dd, is |to|^2 dd - along^2
    // (its cancellation error, some 1e-6 D^2 dd, is covered by the margin).
    const bool clear =
        toLength2 * dd - along2 > (radius * radius * 1.001f + toLength2 * 1e-5f + 1e-30f) * dd;
    // Evaluated without a branch each, as which one holds varies from test to test.
    return (dd > 0.5f) & (dd < 2.0f) & (behind | clear);
}

/// sphereDistance without the quick rejection.
bool exactSphereDistance(const Point& origin, const Point& direction, const Point& k, float radius,
                         float& dist);

/// The sphere test shared by HitSphere and the bounding-sphere pre-test: false when the centre
/// k lies behind the start of the ray (origin, direction) or the ray passes farther than radius
/// from it; otherwise true with the distance estimate in dist. Rays clearly behind or clear of
/// the sphere are turned away by sphereClearlyMissed before the exact test, which decides
/// everything near the boundary.
inline bool sphereDistance(const Point& origin, const Point& direction, const Point& k,
                           float radius, float& dist) {
    return !sphereClearlyMissed(origin, direction, k, radius) &&
           exactSphereDistance(origin, direction, k, radius, dist);
}
