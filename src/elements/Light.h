#pragma once
// A lamp: a visible model the player can pick and move, and the light source for lighting and
// the shadow map. It keeps lightViewMatrix, the world-to-light transform, in step with its own
// rotations and translations (scale and resetTransform leave it alone).

#include "core/Renderable.h"

class Light : public Renderable {
  public:
    Light();
    Model* getModel() override;
    void rotateX(float radians) override;
    void rotateY(float radians) override;
    void rotateZ(float radians) override;
    void translate(float x, float y, float z) override;
    bool isSelectable() const override { return true; }
    /// -1: lights never take part in the placement overlap test.
    float getCollisionRadius() override { return -1.0f; }

    /// World to light coordinates: the inverse of the local matrix when every rotation is about
    /// one axis and comes before the translations.
    Matrix lightViewMatrix = Matrix::identity();
};
