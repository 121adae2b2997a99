#pragma once
// Forwarding rules of the holder composite Holder -> HolderFrame -> element (mirror, half
// mirror, colour filter). A turn about Y or Z, a move and a reset addressed to the element or
// the frame end at the holder, which carries the position and the heading; a tilt about X
// addressed to the element goes to the frame, which tilts. Scale stays with the object
// addressed. An object that is not mounted (no parent) applies the operation itself.

#include "elements/ActiveObject.h"

/// Passes turns about Y and Z, moves and resets on to the parent.
template <class Base> class ForwardsToParent : public Base {
  public:
    void rotateY(float radians) override {
        if (this->hasParent) {
            this->parent->rotateY(radians);
        } else {
            Base::rotateY(radians);
        }
    }
    void rotateZ(float radians) override {
        if (this->hasParent) {
            this->parent->rotateZ(radians);
        } else {
            Base::rotateZ(radians);
        }
    }
    void translate(float x, float y, float z) override {
        if (this->hasParent) {
            this->parent->translate(x, y, z);
        } else {
            Base::translate(x, y, z);
        }
    }
    void resetTransform() override {
        if (this->hasParent) {
            this->parent->resetTransform();
        } else {
            Base::resetTransform();
        }
    }
};

/// An element mounted in a frame: also passes tilts about X on to the frame.
class MountedElement : public ForwardsToParent<ActiveObject> {
  public:
    void rotateX(float radians) override;
    bool isSelectable() const override { return true; }
};

/// Adds the hit shapes of a 174 x 174 x 20 mirror slab: both large faces reflect, the four
/// edges block.
void addMirrorShapes(ActiveObject* mirror);
