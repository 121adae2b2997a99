#pragma once
// A half mirror (beam splitter): a pane checkered light and dark grey, which tells it from a
// mirror at a glance (and says "half see-through", as a picture editor's checkers do), framed
// with its own texture.

#include "elements/Mirror.h"

class MirrorHalf : public MirrorBase {
  public:
    MirrorHalf();
    Model* getModel() override;
    /// The intensity divided by 1.2: light that would drop to 0 is absorbed.
    int weakened(int intensity) const override { return static_cast<int>(intensity / 1.2); }

  protected:
    /// A transmitted and a reflected segment, in that order.
    void answer(Level& level, LaserBeam& in, signed char intensity) override;
};
