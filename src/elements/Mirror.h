#pragma once
// A mirror that reflects on both faces, and a half mirror that splits a beam in two. Both count
// the incoming beams they absorbed because the beam's intensity was used up.

#include "elements/MountedElement.h"

#include <cstddef>

class LaserBeam;

class MirrorBase : public MountedElement {
  public:
    void resetLasers() override;
    /// Answers each new incoming segment with outgoing ones (answer) at the intensity the mirror
    /// leaves it (weakened); light left at 0 or less is absorbed and counted.
    bool emitOutgoingLasers(Level& level) final;
    /// The intensity light keeps after the mirror, for light coming in with `intensity`.
    virtual int weakened(int intensity) const = 0;
    int absorbedCount = 0;

  protected:
    /// Adds the mirror's hit shapes; the derived class colours its own model. Each incoming
    /// segment answered makes segmentsPerAnswer outgoing ones.
    explicit MirrorBase(std::size_t segmentsPerAnswer);
    /// Emits the outgoing segments for `in`, at `intensity`, and links them after it.
    virtual void answer(Level& level, LaserBeam& in, signed char intensity) = 0;

  private:
    std::size_t segmentsPerAnswer_;
};

class Mirror : public MirrorBase {
  public:
    Mirror();
    Model* getModel() override;
    /// Two units of intensity weaker: light at 2 or less is absorbed.
    int weakened(int intensity) const override { return intensity - 2; }

  protected:
    /// One reflection.
    void answer(Level& level, LaserBeam& in, signed char intensity) override;
};
