#pragma once
// A 200 x 200 x 20 slab that stops beams on all six faces. Walls are always face-tested and
// never take part in the placement overlap test.

#include "core/ActiveObject.h"

class Wall : public ActiveObject {
  public:
    Wall();
    Model* getModel() override;
    float getCollisionRadius() override { return -1.0f; }
    bool hitsBoundingSphere(const Ray& ray, float& distance) override;
    bool emitOutgoingLasers(Level&) override { return false; }
};
