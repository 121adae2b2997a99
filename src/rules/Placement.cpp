#include "rules/Placement.h"

#include "elements/ActiveObject.h"
#include "level/Level.h"

namespace {

bool isAncestorOf(const Renderable& ancestor, const Renderable& object) {
    for (const Renderable* p = &object; p->hasParent;) {
        p = p->parent;
        if (p == &ancestor) {
            return true;
        }
    }
    return false;
}

} // namespace

bool isSameMount(const Renderable& a, const Renderable& b) {
    return &a == &b || isAncestorOf(a, b) || isAncestorOf(b, a);
}

bool isPlacementBlocked(Level& level, Renderable* selected) {
    if (!selected) {
        return false;
    }
    const Point c1 = selected->getBoundingCenter();
    const float r1 = selected->getCollisionRadius();
    for (ActiveObject* other : level.activeObjects) {
        if (isSameMount(*other, *selected)) {
            continue;
        }
        const float r2 = other->getCollisionRadius();
        if (!(r2 > 0)) {
            continue;
        }
        const Point c2 = other->getBoundingCenter();
        const double dx = c2[0] - c1[0], dy = c2[1] - c1[1], dz = c2[2] - c1[2];
        const double reach = static_cast<double>(r1) + r2;
        if (dx * dx + dy * dy + dz * dz < reach * reach) {
            return true;
        }
    }
    return false;
}
