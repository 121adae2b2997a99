#pragma once
// The model of the viewer's eye, drawn where the camera stands.

#include "core/Renderable.h"

class Camera : public Renderable {
  public:
    /// White eye at scale 0.05, turned half round about Y so that it looks along -Z.
    Camera();
    Model* getModel() override;
};
