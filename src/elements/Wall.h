#pragma once
// A 200 x 200 x 20 slab that stops beams on all six faces. Walls are always face-tested and
// never take part in the placement overlap test.

#include "elements/ActiveObject.h"

#include <array>

class Wall : public ActiveObject {
  public:
    /// Half the slab's size along its own x, y and z axes, before scaling.
    static constexpr float HALF_X = 100, HALF_Y = 100, HALF_Z = 10;

    Wall();
    Model* getModel() override;
    float getCollisionRadius() override { return -1.0f; }
    bool hitsBoundingSphere(const Ray& ray, float& distance) override;
    bool emitOutgoingLasers(Level&) override { return false; }
    /// The distance in world units from a world point to the slab as it stands (turned, scaled
    /// and moved); 0 inside it.
    float distanceTo(const Point& p);
    /// The eight corners in world coordinates of a slab (a level's walls) as it stands.
    static std::array<Point, 8> corners(ActiveObject& slab);
};
