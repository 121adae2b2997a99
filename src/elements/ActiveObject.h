#pragma once
// The base of every optical element: the beams that reach and leave it during one laser update,
// its hit shapes, and the operations through which the laser simulation talks to it.

#include "core/Renderable.h"

#include <memory>
#include <vector>

class ColorFilter;
class HitObject;
class LaserBeam;
class Level;
struct Ray;

/// Result codes of ActiveObject::hitTest.
constexpr int HIT_NONE = 0;
constexpr int HIT_BLOCKING = 1;
constexpr int HIT_ACTIVE = 2;

// Aligned to a cache line, so that the members the tracer reads for every element (the first ones
// of Renderable and of this class) fill whole lines.
class alignas(64) ActiveObject : public Renderable {
  public:
    ActiveObject();
    ~ActiveObject() override;

    float getCollisionRadius() override { return getBoundingRadius(); }

    /// Forgets this update's beams (they are owned by the level, not freed here).
    virtual void resetLasers();
    /// The element's reaction to its incoming beams: true when it created outgoing beams (made
    /// with level.newLaserBeam) that still have to be traced. The default prints a diagnostic
    /// line and emits nothing.
    virtual bool emitOutgoingLasers(Level& level);
    /// False when no ray can hit the element, so that the tracer passes it by without testing:
    /// true when it has hit shapes or is hit without them (hitWithoutShapes_).
    bool canBeHit() const {
        return hitWithoutShapes_ || !activeShapes.empty() || !blockingShapes.empty();
    }
    /// The element as a colour filter, or null when it is none. (The tracer asks every element
    /// for every beam: no virtual call, no dynamic_cast.)
    ColorFilter* asColorFilter() const { return colorFilter_; }
    /// Pre-test of the ray against the element's bounding sphere; on a hit writes the sphere's
    /// distance estimate to distance.
    virtual bool hitsBoundingSphere(const Ray& ray, float& distance);
    /// Tests the blocking shapes, then the active ones: HIT_NONE, HIT_BLOCKING or HIT_ACTIVE for
    /// the nearest. On a hit writes its distance and, for a face, its point and unit normal
    /// (3 floats each); otherwise leaves them unchanged.
    virtual int hitTest(const Ray& ray, float& distance, float point[3], float normal[3]);

    // The shapes first, beside what canBeHit and asColorFilter read: the tracer looks at them for
    // every element and every beam.
    std::vector<std::unique_ptr<HitObject>> activeShapes;   ///< hits hand the beam over
    std::vector<std::unique_ptr<HitObject>> blockingShapes; ///< hits only stop the beam

  protected:
    /// For the colour filter's constructor: the object itself, as a filter.
    ColorFilter* colorFilter_ = nullptr;
    /// For an element whose hitTest does not go through its shapes (set by its constructor).
    bool hitWithoutShapes_ = false;

  public:
    std::vector<LaserBeam*> incomingLasers; ///< segments that ended on an active shape
    std::vector<LaserBeam*> outgoingLasers; ///< segments this element emitted
    int tracedCount = 0; ///< entries of outgoingLasers already handed to the tracer
};
