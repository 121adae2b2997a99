#pragma once
// A half mirror (beam splitter): translucent grey, framed with its own texture.

#include "elements/Mirror.h"

class MirrorHalf : public MirrorBase {
  public:
    MirrorHalf();
    Model* getModel() override;
    /// Splits each new incoming segment into a transmitted and a reflected one, each with the
    /// intensity divided by 1.2; light that would drop to 0 is absorbed.
    bool emitOutgoingLasers(Level& level) override;
};
