#include "solver/Turnables.h"
#include "solver/Solver.h"

#include "core/Model.h"
#include "elements/ColorFilter.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "level/Level.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Degrees to the radians the level reader and the game use.
float radians(int degrees) {
    return static_cast<float>(degrees / 180.0 * PI);
}

// The tilt of a frame: the angle of its -Z axis above the holder's horizontal plane.
double tiltDegrees(const Matrix& frameLocal) {
    return std::atan2(-frameLocal[9], frameLocal[10]) * 180.0 / PI;
}

} // namespace

namespace solver {

Holder* holderOf(const ActiveObject* element) {
    if (!dynamic_cast<const Mirror*>(element) && !dynamic_cast<const MirrorHalf*>(element) &&
        !dynamic_cast<const ColorFilter*>(element)) {
        return nullptr;
    }
    if (!element->hasParent || !dynamic_cast<HolderFrame*>(element->parent)) {
        return nullptr;
    }
    const Renderable* frame = element->parent;
    return frame->hasParent ? dynamic_cast<Holder*>(frame->parent) : nullptr;
}

std::vector<Orientation> orientationsFor(double currentTilt, int step) {
    std::vector<Orientation> list;
    for (int k = 0; k < 360 / step; ++k) {
        const int yaw = k * step > 180 ? k * step - 360 : k * step;
        for (int j = -180 / step - 1; j <= 180 / step + 1; ++j) {
            const int tilt = j * step;
            if (j == 0 || std::fabs(currentTilt + tilt) <= 90.0 + 1e-3) {
                list.push_back({yaw, tilt});
            }
        }
    }
    const auto key = [](const Orientation& o) {
        return std::array<int, 5>{o.yaw != 0 || o.tilt != 0, std::abs(o.yaw) + std::abs(o.tilt),
                                  std::abs(o.tilt), o.yaw < 0, o.tilt < 0};
    };
    std::stable_sort(list.begin(), list.end(),
                     [&](const Orientation& a, const Orientation& b) { return key(a) < key(b); });
    return list;
}

Turnable makeTurnable(ActiveObject* element, Holder* holder, int activeIndex, int step) {
    Turnable t;
    t.element = element;
    t.frame = element->parent;
    t.holder = holder;
    t.holderLocal = holder->localMatrix;
    t.frameLocal = t.frame->localMatrix;
    t.orientations = orientationsFor(tiltDegrees(t.frameLocal), step);
    t.activeIndex = activeIndex;
    const Matrix& hw = holder->refreshedWorldMatrix();
    const Matrix& fw = t.frame->refreshedWorldMatrix();
    const Matrix& ew = element->refreshedWorldMatrix();
    const auto distance = [](const Matrix& a, const Matrix& b) {
        const double d[3] = {a[12] - b[12], a[13] - b[13], a[14] - b[14]};
        return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    };
    double reach = 0;
    if (const Model* model = element->getModel()) {
        const double c =
            std::sqrt(model->centre[0] * model->centre[0] + model->centre[1] * model->centre[1] +
                      model->centre[2] * model->centre[2]);
        reach = (c + model->radius) * maxScale(ew);
    }
    for (int i = 0; i < 3; ++i) {
        t.centre[i] = hw[12 + i];
    }
    t.radius = distance(hw, fw) + distance(fw, ew) + reach + 1.0;
    return t;
}

void applyOrientation(Turnable& e, int o) {
    if (e.applied == o) {
        return;
    }
    e.holder->setLocalMatrix(e.holderLocal);
    e.frame->setLocalMatrix(e.frameLocal);
    const Orientation& r = e.orientations[o];
    if (r.yaw != 0) {
        e.element->rotateY(radians(r.yaw));
    }
    if (r.tilt != 0) {
        e.element->rotateX(radians(r.tilt));
    }
    e.applied = o;
}

} // namespace solver

std::vector<ActiveObject*> turnableElements(const Level& level) {
    std::vector<ActiveObject*> list;
    for (ActiveObject* object : level.activeObjects) {
        if (solver::holderOf(object)) {
            list.push_back(object);
        }
    }
    return list;
}

void applyTurns(const std::vector<ElementTurn>& turns) {
    for (const ElementTurn& turn : turns) {
        if (turn.yawDegrees != 0) {
            turn.element->rotateY(radians(turn.yawDegrees));
        }
        if (turn.tiltDegrees != 0) {
            turn.element->rotateX(radians(turn.tiltDegrees));
        }
    }
}
