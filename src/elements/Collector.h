#pragma once
// Gathers the beams that reach its ball and re-emits their mixed colour along its local -Z axis.

#include "core/ActiveObject.h"

class Collector : public ActiveObject {
  public:
    Collector();
    Model* getModel() override;
};
