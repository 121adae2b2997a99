#include "rules/StartView.h"
#include "rules/Frustum.h"
#include "rules/GameFlow.h"

#include "elements/ActiveObject.h"
#include "level/Level.h"

std::vector<ViewedElement> startViewElements(Level& level, double width, double height) {
    const Frustum frustum = buildFrustumPlanes(width / height);
    const Matrix view = levelStartView(level);
    std::vector<ViewedElement> seen;
    for (std::size_t i = 0; i < level.activeObjects.size(); ++i) {
        ActiveObject* object = level.activeObjects[i];
        if (!isPuzzleElement(object)) {
            continue;
        }
        ViewedElement e;
        e.index = static_cast<int>(i);
        e.element = object;
        e.eyeCentre = object->getBoundingCenter();
        transformPoint(view, e.eyeCentre);
        // Wholly inside: no plane has any of the sphere beyond it, that is no plane has its
        // centre beyond minus the radius.
        e.inside = !sphereOutside(frustum, e.eyeCentre, -object->getBoundingRadius());
        seen.push_back(e);
    }
    return seen;
}
