#pragma once
// Gathers the beams that reach its ball and re-emits their mixed colour along its local -Z axis.

#include "elements/ActiveObject.h"

class Collector : public ActiveObject {
  public:
    Collector();
    Model* getModel() override;
    /// Emits the OR of all incoming colours once, at full intensity; later arrivals recolour
    /// that output and everything downstream of it.
    bool emitOutgoingLasers(Level& level) override;
};

class LaserBeam;

/// Gives `segment` the colour code and passes the new colour downstream: through filters (which
/// start emitting when they had stopped the old colour), through collectors (mixed with their
/// output), and along every continuation.
void recolor(Level& level, LaserBeam& segment, signed char colorCode);
