#pragma once
// A half mirror (beam splitter): translucent grey, framed with its own texture.

#include "elements/Mirror.h"

class MirrorHalf : public MirrorBase {
  public:
    MirrorHalf();
    Model* getModel() override;
};
