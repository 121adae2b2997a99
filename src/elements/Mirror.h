#pragma once
// A mirror that reflects on both faces, and a half mirror that splits a beam in two. Both count
// the incoming beams they absorbed because the beam's intensity was used up.

#include "elements/MountedElement.h"

class MirrorBase : public MountedElement {
  public:
    void resetLasers() override;
    int absorbedCount = 0;

  protected:
    /// Adds the mirror's hit shapes; the derived class colours its own model.
    MirrorBase();
};

class Mirror : public MirrorBase {
  public:
    Mirror();
    Model* getModel() override;
    /// Reflects each new incoming segment, two units of intensity weaker; light at 2 or less
    /// is absorbed.
    bool emitOutgoingLasers(Level& level) override;
};
