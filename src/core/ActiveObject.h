#pragma once
// The base of every optical element: the beams that reach and leave it during one laser update,
// its hit shapes, and the operations through which the laser simulation talks to it.

#include "core/Renderable.h"

#include <memory>
#include <vector>

class HitObject;
class LaserBeam;
class Level;

/// Result codes of ActiveObject::hitTest.
constexpr int HIT_NONE = 0;
constexpr int HIT_BLOCKING = 1;
constexpr int HIT_ACTIVE = 2;

class ActiveObject : public Renderable {
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
    /// Pre-test of the beam against the element's bounding sphere; on a hit writes the sphere's
    /// distance estimate to distance.
    virtual bool hitsBoundingSphere(LaserBeam& beam, float& distance);
    /// Tests the blocking shapes, then the active ones: HIT_NONE, HIT_BLOCKING or HIT_ACTIVE for
    /// the nearest. On a hit writes its distance and, for a face, its point and unit normal
    /// (3 floats each); otherwise leaves them unchanged.
    virtual int hitTest(LaserBeam& beam, float& distance, float point[3], float normal[3]);

    std::vector<LaserBeam*> incomingLasers; ///< segments that ended on an active shape
    std::vector<LaserBeam*> outgoingLasers; ///< segments this element emitted
    std::vector<std::unique_ptr<HitObject>> activeShapes;   ///< hits hand the beam over
    std::vector<std::unique_ptr<HitObject>> blockingShapes; ///< hits only stop the beam
    int tracedCount = 0; ///< entries of outgoingLasers already handed to the tracer
};
