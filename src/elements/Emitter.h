#pragma once
// The laser source: its white beam leaves the origin along the local -Z axis.

#include "core/ActiveObject.h"

class Emitter : public ActiveObject {
  public:
    Emitter();
    Model* getModel() override;
};
