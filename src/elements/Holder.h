#pragma once
// The mount of a mirror, half mirror or colour filter: Holder -> HolderFrame -> element. The
// holder carries the position and the turn about the vertical axis; the frame tilts about its X
// axis. Colours go down to the element; a texture index stops at the frame. Beams pass through
// both (they have no hit shapes).

#include "elements/MountedElement.h"

#include <memory>

class HolderFrame : public ForwardsToParent<ActiveObject> {
  public:
    /// Creates the frame and attaches `element` to it.
    explicit HolderFrame(ActiveObject* element);
    Model* getModel() override;
    void setColor(signed char colorCode) override;
    bool isSelectable() const override { return true; }
    float getCollisionRadius() override { return -1.0f; }
};

class Holder : public ActiveObject {
  public:
    /// Creates the holder and its frame, and mounts `element` in the frame. The holder owns the
    /// frame; the element belongs to whoever created it.
    explicit Holder(ActiveObject* element);
    Model* getModel() override;
    void setColor(signed char colorCode) override;
    void setTexture(int index) override;
    bool isSelectable() const override { return true; }
    float getCollisionRadius() override { return -1.0f; }

    HolderFrame* frame() const { return frame_.get(); }

  private:
    std::unique_ptr<HolderFrame> frame_;
};
