#include "elements/MountedElement.h"

#include "laser/HitShapes.h"

void MountedElement::rotateX(float radians) {
    if (hasParent) {
        parent->rotateX(radians);
    } else {
        ActiveObject::rotateX(radians);
    }
}

void addMirrorShapes(ActiveObject* mirror) {
    constexpr float H = 87, D = 10;
    const auto area = [mirror](Point a, Point b, Point c) {
        return std::make_unique<HitArea>(mirror, a, b, c);
    };
    mirror->activeShapes.push_back(area({-H, -H, D, 1}, {H, -H, D, 1}, {-H, H, D, 1}));
    mirror->activeShapes.push_back(area({-H, -H, -D, 1}, {-H, H, -D, 1}, {H, -H, -D, 1}));
    mirror->blockingShapes.push_back(area({-H, -H, D, 1}, {-H, -H, -D, 1}, {H, -H, D, 1}));
    mirror->blockingShapes.push_back(area({H, H, D, 1}, {H, H, -D, 1}, {-H, H, D, 1}));
    mirror->blockingShapes.push_back(area({-H, -H, D, 1}, {-H, H, D, 1}, {-H, -H, -D, 1}));
    mirror->blockingShapes.push_back(area({H, H, D, 1}, {H, -H, D, 1}, {H, H, -D, 1}));
}
