#pragma once
// The laser source: its white beam leaves the origin along the local -Z axis.

#include "elements/ActiveObject.h"

class Emitter : public ActiveObject {
  public:
    Emitter();
    Model* getModel() override;
    /// Fires its one white beam per update: false when it has already fired.
    bool emitOutgoingLasers(Level& level) override;
};
