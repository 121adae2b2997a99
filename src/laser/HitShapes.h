#pragma once
// The invisible shapes that beams hit: one-sided parallelograms and spheres placed on an
// element, re-evaluated in world space at every test.

#include "core/Matrix.h"

class LaserBeam;
class Renderable;

/// Start used for the nearest distance of a hit test.
constexpr float NO_HIT_DISTANCE = 999999.0f;

class HitObject {
  public:
    virtual ~HitObject() = default;
    /// Tests the beam's ray. distance holds the nearest hit found so far and receives a strictly
    /// nearer one. A face also writes the hit point and its unit normal (3 floats each). In line
    /// mode a face stores the signed distance of its plane along the beam's line whatever it is,
    /// writes nothing else and returns true unless the beam comes from behind; spheres ignore
    /// the mode.
    virtual bool hit(LaserBeam& beam, float& distance, float* point, float* normal,
                     bool lineOnly) = 0;
};

/// The parallelogram corner0 + u (corner1 - corner0) + v (corner2 - corner0), 0 <= u, v <= 1, in
/// the owner's local coordinates. Its front faces along (corner1 - corner0) x (corner2 -
/// corner0); only beams travelling against that normal hit it. Edges belong to the face.
class HitArea : public HitObject {
  public:
    HitArea(Renderable* owner, const Point& a, const Point& b, const Point& c);
    bool hit(LaserBeam& beam, float& distance, float* point, float* normal, bool lineOnly) override;

    Point corner0, corner1, corner2;
    Renderable* owner; ///< not owned
};

/// A sphere whose centre sits in the owner's local coordinates; its radius is in world units
/// (the owner's scale does not change it). The hit distance is an estimate, not the exact entry.
class HitSphere : public HitObject {
  public:
    HitSphere(Renderable* owner, const Point& center, float radius);
    bool hit(LaserBeam& beam, float& distance, float* point, float* normal, bool lineOnly) override;

    Point center;
    float radius;
    Renderable* owner; ///< not owned
};

/// The sphere test shared by HitSphere and the bounding-sphere pre-test: false when the centre
/// k lies behind the start of the ray (origin, direction) or the ray passes farther than radius
/// from it; otherwise true with the distance estimate in dist.
bool sphereDistance(const Point& origin, const Point& direction, const Point& k, float radius,
                    float& dist);
