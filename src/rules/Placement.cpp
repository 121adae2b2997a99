#include "rules/Placement.h"

#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
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

template <class Kind> bool is(const ActiveObject& object) {
    return dynamic_cast<const Kind*>(&object) != nullptr;
}

} // namespace

bool isSameMount(const Renderable& a, const Renderable& b) {
    return &a == &b || isAncestorOf(a, b) || isAncestorOf(b, a);
}

ActiveObject* placementBlocker(Level& level, Renderable* selected) {
    if (!selected) {
        return nullptr;
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
            return other;
        }
    }
    return nullptr;
}

std::string refusalText(const ActiveObject& blocker) {
    const char* name = is<MirrorHalf>(blocker)                         ? "HALF MIRROR"
                       : is<Mirror>(blocker)                           ? "MIRROR"
                       : is<ColorFilter>(blocker)                      ? "FILTER"
                       : is<Emitter>(blocker)                          ? "LASER"
                       : is<Collector>(blocker)                        ? "COLLECTOR"
                       : is<FinshHead>(blocker) || is<Finish>(blocker) ? "GOAL"
                                                                       : "ELEMENT";
    return std::string("TOO CLOSE TO THE ") + name;
}
