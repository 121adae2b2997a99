#include "solver/Turnables.h"
#include "solver/Solver.h"

#include "core/Model.h"
#include "elements/ColorFilter.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "level/Level.h"
#include "rules/Interaction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

namespace solver {

float radians(double degrees) {
    return static_cast<float>(degrees / 180.0 * PI);
}

double thousandths(double degrees) {
    return std::round(degrees * 1000.0) / 1000.0;
}

double normalised(double degrees) {
    double d = std::fmod(thousandths(degrees), 360.0);
    if (d > 180.0) {
        d -= 360.0;
    } else if (d <= -180.0) {
        d += 360.0;
    }
    return thousandths(d);
}

Pose poseOf(const Matrix& holderWorld, const Matrix& frameLocal) {
    const Matrix& h = holderWorld;
    const double l = std::sqrt(h[4] * double(h[4]) + h[5] * double(h[5]) + h[6] * double(h[6]));
    const double up[3] = {h[4] / l, h[5] / l, h[6] / l};
    const double back[3] = {-h[8], -h[9], -h[10]};
    // World -z laid into the plane across the holder's y axis; on a wall that faces along z,
    // where that vanishes, the wall normal crossed with world up.
    double ref[3] = {up[2] * up[0], up[2] * up[1], up[2] * up[2] - 1.0};
    if (ref[0] * ref[0] + ref[1] * ref[1] + ref[2] * ref[2] < 1e-8) {
        ref[0] = -up[2];
        ref[1] = 0;
        ref[2] = up[0];
    }
    const double cross[3] = {ref[1] * back[2] - ref[2] * back[1],
                             ref[2] * back[0] - ref[0] * back[2],
                             ref[0] * back[1] - ref[1] * back[0]};
    const double sine = up[0] * cross[0] + up[1] * cross[1] + up[2] * cross[2];
    const double cosine = ref[0] * back[0] + ref[1] * back[1] + ref[2] * back[2];
    const double degrees = 180.0 / PI;
    return {normalised(std::atan2(sine, cosine) * degrees),
            normalised(std::atan2(-frameLocal[9], frameLocal[10]) * degrees)};
}

namespace {

// The turns from `current` to every multiple of the step (over the circle for a heading, within
// 90 degrees either way for a tilt), after 0 for keeping it.
std::vector<double> axisTurns(double current, int step, bool heading) {
    std::vector<double> turns{0.0};
    const int from = heading ? 0 : -90 / step;
    const int to = heading ? 360 / step - 1 : 90 / step;
    for (int k = from; k <= to; ++k) {
        const double turn =
            heading ? normalised(k * step - current) : thousandths(k * step - current);
        if (turn != 0) {
            turns.push_back(turn);
        }
    }
    return turns;
}

} // namespace

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

std::vector<Orientation> orientationsFor(const Pose& current, int step) {
    std::vector<Orientation> list;
    for (double yaw : axisTurns(current.heading, step, true)) {
        for (double tilt : axisTurns(current.tilt, step, false)) {
            list.push_back({yaw, tilt});
        }
    }
    // In whole thousandths, so that sums of turns compare without rounding noise.
    const auto key = [](const Orientation& o) {
        const long long yaw = std::llround(std::fabs(o.yaw) * 1000.0);
        const long long tilt = std::llround(std::fabs(o.tilt) * 1000.0);
        return std::array<long long, 5>{yaw + tilt != 0, yaw + tilt, tilt, o.yaw < 0, o.tilt < 0};
    };
    std::stable_sort(list.begin(), list.end(),
                     [&](const Orientation& a, const Orientation& b) { return key(a) < key(b); });
    // Turned half round and tilted the other way, the pane lies in the same place (the element
    // is the same seen from behind): only the smaller turn is kept.
    std::set<std::pair<long long, long long>> planes;
    std::vector<Orientation> kept;
    for (const Orientation& o : list) {
        const double heading = normalised(current.heading + o.yaw);
        const double tilt = thousandths(current.tilt + o.tilt);
        const std::pair<long long, long long> plane{std::llround(heading * 1000),
                                                    std::llround(tilt * 1000)};
        const std::pair<long long, long long> behind{std::llround(normalised(heading + 180) * 1000),
                                                     std::llround(-tilt * 1000)};
        if (planes.count(plane) == 0 && planes.count(behind) == 0) {
            planes.insert(plane);
            kept.push_back(o);
        }
    }
    return kept;
}

bool searchesPose(const Pose& current, const Pose& other, int step) {
    const auto tried = [step](double now, double then, double limit) {
        return then == now || (std::fmod(then, step) == 0 && std::fabs(then) <= limit);
    };
    return tried(current.heading, other.heading, 180.0) && tried(current.tilt, other.tilt, 90.0);
}

Turnable makeTurnable(ActiveObject* element, Holder* holder, int activeIndex, int step) {
    Turnable t;
    t.element = element;
    t.frame = element->parent;
    t.holder = holder;
    t.holderLocal = holder->localMatrix;
    t.frameLocal = t.frame->localMatrix;
    const Matrix& hw = holder->refreshedWorldMatrix();
    t.pose = poseOf(hw, t.frameLocal);
    t.orientations = orientationsFor(t.pose, step);
    t.places.push_back(
        Place{t.holderLocal, t.pose, Spot{}, 0, static_cast<int>(t.orientations.size())});
    t.activeIndex = activeIndex;
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

int addPlace(Turnable& t, const Matrix& holderLocal, const Spot& spot,
             const std::vector<Orientation>& extra, int step) {
    Place place{holderLocal, poseOf(holderLocal, t.frameLocal), spot,
                static_cast<int>(t.orientations.size()), 0};
    const int index = static_cast<int>(t.places.size());
    const std::vector<Orientation> grid = orientationsFor(place.pose, step);
    t.orientations.push_back(grid.front());
    for (const Orientation& o : extra) {
        t.orientations.push_back(o);
    }
    t.orientations.insert(t.orientations.end(), grid.begin() + 1, grid.end());
    for (int i = place.first; i < static_cast<int>(t.orientations.size()); ++i) {
        t.orientations[i].place = index;
    }
    place.count = static_cast<int>(t.orientations.size()) - place.first;
    t.places.push_back(place);
    return index;
}

void applyOrientation(Turnable& e, int o) {
    if (e.applied == o) {
        return;
    }
    const Orientation& r = e.orientations[o];
    const Matrix& holderLocal = e.places[r.place].holderLocal;
    e.holder->setLocalMatrix(holderLocal);
    e.frame->setLocalMatrix(e.frameLocal);
    if (r.yaw != 0) {
        e.element->rotateY(radians(r.yaw));
    }
    if (r.tilt != 0) {
        e.element->rotateX(radians(r.tilt));
    }
    for (int i = 0; i < 3; ++i) {
        e.centre[i] = holderLocal[12 + i];
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
        if (turn.carry.carried) {
            Renderable& holder = *solver::holderOf(turn.element);
            const Carry& c = turn.carry;
            placeOnWall(holder, holder.getWorldMatrix(), {c.point[0], c.point[1], c.point[2], 1},
                        {c.normal[0], c.normal[1], c.normal[2], 0});
        }
        if (turn.yawDegrees != 0) {
            turn.element->rotateY(solver::radians(turn.yawDegrees));
        }
        if (turn.tiltDegrees != 0) {
            turn.element->rotateX(solver::radians(turn.tiltDegrees));
        }
    }
}
