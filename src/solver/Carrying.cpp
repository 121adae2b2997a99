#include "solver/Carrying.h"

#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "elements/Wall.h"
#include "laser/LaserBeam.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "rules/Interaction.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace solver {

namespace {

/// How far off the surface a carry hangs the pane's centre (placeOnWall).
constexpr double HANG = 20;
/// A beam passes within reach of a pane on a surface when the surface lies at most this far
/// from it.
constexpr double REACH = 100;
/// Spots along a beam lie this far apart.
constexpr double ALONG = 100;

double dot(const double a[3], const double b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

double length(const double a[3]) {
    return std::sqrt(dot(a, a));
}

bool normalise(double a[3]) {
    const double l = length(a);
    if (!(l > 1e-12)) {
        return false;
    }
    for (int k = 0; k < 3; ++k) {
        a[k] /= l;
    }
    return true;
}

bool nearSpot(const std::vector<CarrySpot>& spots, const Spot& spot, double apart) {
    for (const CarrySpot& s : spots) {
        double d[3];
        for (int k = 0; k < 3; ++k) {
            d[k] = s.spot.point[k] - spot.point[k];
        }
        if (dot(d, d) < apart * apart && dot(s.spot.normal, spot.normal) > 0.99) {
            return true;
        }
    }
    return false;
}

const char* colourName(int code) {
    static const char* const names[] = {"BLACK", "RED",     "GREEN", "YELLOW",
                                        "BLUE",  "MAGENTA", "CYAN",  "WHITE"};
    return names[code & 7];
}

// What the place text calls an element, or null for one it does not name.
std::string nameOf(ActiveObject* object) {
    if (auto* goal = dynamic_cast<FinshHead*>(object)) {
        return std::string("THE ") + colourName(goal->requiredColor) + " GOAL";
    }
    if (auto* filter = dynamic_cast<ColorFilter*>(object)) {
        return std::string("THE ") + colourName(filter->colorCode) + " FILTER";
    }
    if (dynamic_cast<MirrorHalf*>(object)) {
        return "THE HALF MIRROR";
    }
    if (dynamic_cast<Mirror*>(object)) {
        return "THE MIRROR";
    }
    if (dynamic_cast<Collector*>(object)) {
        return "THE COLLECTOR";
    }
    if (dynamic_cast<Emitter*>(object)) {
        return "THE LASER";
    }
    return "";
}

Point worldOrigin(Renderable& object) {
    const Matrix& m = object.refreshedWorldMatrix();
    return {m[12], m[13], m[14], 1};
}

} // namespace

Carrier::Carrier(Level& level) : level_(level), probe_(COLOR_WHITE, FULL_INTENSITY, nullptr) {
    for (std::size_t i = 0; i < level.activeObjects.size(); ++i) {
        ActiveObject* object = level.activeObjects[i];
        if (dynamic_cast<Wall*>(object)) {
            walls_.push_back(object);
            wallIds_.push_back(static_cast<int>(i));
        }
    }
}

double Carrier::cast(const double origin[3], const double dir[3], double point[3], double normal[3],
                     int* wall) {
    probe_.setLocalMatrix(rayMatrix(origin, dir));
    float p[3], n[3];
    const int hit = traceLaser(probe_, p, n, true, walls_, level_);
    if (hit < 0) {
        return std::numeric_limits<double>::infinity();
    }
    for (int k = 0; k < 3; ++k) {
        point[k] = p[k];
        normal[k] = n[k];
    }
    if (wall) {
        *wall = wallIds_[hit];
    }
    const double d[3] = {p[0] - origin[0], p[1] - origin[1], p[2] - origin[2]};
    return length(d);
}

// Where a beam ends on a wall slab: the spot whose pane centre lies on the beam, or the end
// itself when the beam grazes the surface. False when no face is found there.
bool Carrier::spotAtEnd(const Segment& s, Spot& spot) {
    double from[3], point[3], normal[3];
    for (int k = 0; k < 3; ++k) {
        from[k] = s.start[k] + (s.length - 2) * s.dir[k];
    }
    if (!std::isfinite(cast(from, s.dir, point, normal, &spot.wall))) {
        return false;
    }
    if (dot(normal, s.dir) > 0) {
        for (double& v : normal) {
            v = -v;
        }
    }
    std::copy(point, point + 3, spot.point);
    std::copy(normal, normal + 3, spot.normal);
    const double facing = -dot(normal, s.dir);
    if (facing > 0.2) {
        double centre[3], back[3] = {-normal[0], -normal[1], -normal[2]}, foot[3], n[3];
        for (int k = 0; k < 3; ++k) {
            centre[k] = point[k] - HANG / facing * s.dir[k];
        }
        int wall = -1;
        const double d = cast(centre, back, foot, n, &wall);
        if (std::fabs(d - HANG) < 1 && dot(n, normal) > 0.999) {
            std::copy(foot, foot + 3, spot.point);
            spot.wall = wall;
        }
    }
    return true;
}

const std::vector<CarrySpot>& Carrier::spotsOf(const Segment& s) {
    const Key key = segmentKey(s, false, false);
    const auto known = spots_.find(key);
    if (known != spots_.end()) {
        return known->second;
    }
    std::vector<CarrySpot> spots;
    const bool onWall =
        s.hit >= 0 && std::find(wallIds_.begin(), wallIds_.end(), s.hit) != wallIds_.end();
    if (onWall && std::isfinite(s.length)) {
        CarrySpot spot{{}, rayOf(s), s.colour, true};
        if (spotAtEnd(s, spot.spot)) {
            spots.push_back(spot);
        }
    }
    static const double axes[6][3] = {{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                      {0, -1, 0}, {0, 0, 1},  {0, 0, -1}};
    const double reach = std::isfinite(s.length) ? s.length : 0;
    for (double u = ALONG / 2; u < reach - ALONG / 2; u += ALONG) {
        double at[3];
        for (int k = 0; k < 3; ++k) {
            at[k] = s.start[k] + u * s.dir[k];
        }
        for (const auto& axis : axes) {
            if (std::fabs(dot(axis, s.dir)) > 0.9) {
                continue; // the beam runs into that surface: its end is a spot already
            }
            CarrySpot spot{{}, rayOf(s), s.colour, false};
            const double d = cast(at, axis, spot.spot.point, spot.spot.normal, &spot.spot.wall);
            if (d <= REACH && dot(spot.spot.normal, axis) < -0.9 &&
                !nearSpot(spots, spot.spot, ALONG / 2)) {
                spots.push_back(spot);
            }
        }
    }
    return spots_.emplace(key, std::move(spots)).first->second;
}

bool Carrier::inSight(const double from[3], const double to[3], double radius) {
    double dir[3] = {to[0] - from[0], to[1] - from[1], to[2] - from[2]};
    const double distance = length(dir);
    if (!normalise(dir)) {
        return true;
    }
    double point[3], normal[3];
    return cast(from, dir, point, normal) >= distance - radius;
}

bool Carrier::sendsOn(const CarrySpot& spot, int colour, const std::vector<bool>& goalLit,
                      const std::vector<Turnable>& turnables) {
    if (colour == 0) {
        return false;
    }
    double pane[3];
    for (int k = 0; k < 3; ++k) {
        pane[k] = spot.spot.point[k] + HANG * spot.spot.normal[k];
    }
    for (std::size_t g = 0; g < level_.goals.size(); ++g) {
        FinshHead* goal = level_.goals[g];
        const Point c = goal->getBoundingCenter();
        const double centre[3] = {c[0], c[1], c[2]};
        if (goalLit[g] || !inSight(pane, centre, goal->getBoundingRadius())) {
            continue;
        }
        // The colours the filters whose spheres the way passes may leave.
        std::vector<int> colours{colour};
        double way[3] = {centre[0] - pane[0], centre[1] - pane[1], centre[2] - pane[2]};
        const double distance = length(way);
        normalise(way);
        for (const Turnable& t : turnables) {
            const ColorFilter* filter = t.element->asColorFilter();
            if (!filter) {
                continue;
            }
            double to[3] = {t.centre[0] - pane[0], t.centre[1] - pane[1], t.centre[2] - pane[2]};
            const double u = std::clamp(dot(to, way), 0.0, distance);
            for (int k = 0; k < 3; ++k) {
                to[k] -= u * way[k];
            }
            if (dot(to, to) <= t.radius * t.radius) {
                const std::size_t known = colours.size();
                for (std::size_t i = 0; i < known; ++i) {
                    colours.push_back(colours[i] & filter->colorCode);
                }
            }
        }
        if (std::find(colours.begin(), colours.end(), int(goal->requiredColor)) != colours.end()) {
            return true;
        }
    }
    // A collector mixes what it gathers: light with no colour that a goal not lit right does
    // not want.
    bool mixes = false;
    for (std::size_t g = 0; g < level_.goals.size(); ++g) {
        mixes = mixes || (!goalLit[g] && (colour & ~level_.goals[g]->requiredColor) == 0);
    }
    for (ActiveObject* object : level_.activeObjects) {
        if (mixes && dynamic_cast<Collector*>(object)) {
            const Point c = worldOrigin(*object);
            const double centre[3] = {c[0], c[1], c[2]};
            if (inSight(pane, centre, 11)) {
                return true;
            }
        }
    }
    return false;
}

std::vector<Orientation> Carrier::aimsFrom(ActiveObject& element, const Matrix& frameLocal,
                                           const CarrySpot& spot) {
    Level& level = level_;
    std::vector<Orientation> aims;
    if (element.asColorFilter()) {
        return aims;
    }
    Holder* holder = holderOf(&element);
    const Matrix placed = holder->localMatrix;
    // The holder's axes there, unit length.
    double axes[3][3];
    for (int c = 0; c < 3; ++c) {
        for (int k = 0; k < 3; ++k) {
            axes[c][k] = placed[4 * c + k];
        }
        normalise(axes[c]);
    }
    const double tilted = std::atan2(-frameLocal[9], frameLocal[10]);
    const double dir[3] = {spot.beam.direction[0], spot.beam.direction[1], spot.beam.direction[2]};
    const double start[3] = {spot.beam.origin[0], spot.beam.origin[1], spot.beam.origin[2]};

    std::vector<Point> targets;
    for (int pass = 0; pass < 2; ++pass) {
        for (ActiveObject* object : level.activeObjects) {
            const bool goal = dynamic_cast<FinshHead*>(object) != nullptr;
            if (goal != (pass == 0) || object == &element) {
                continue;
            }
            if (goal) {
                targets.push_back(object->getBoundingCenter());
            } else if (dynamic_cast<Collector*>(object) || holderOf(object)) {
                targets.push_back(worldOrigin(*object));
            }
        }
    }

    const double degrees = 180.0 / PI;
    for (const Point& target : targets) {
        // Start from the point of the beam nearest the pane's centre.
        holder->setLocalMatrix(placed);
        element.parent->setLocalMatrix(frameLocal);
        const Point centre = worldOrigin(element);
        double p[3], along = 0;
        for (int k = 0; k < 3; ++k) {
            along += (centre[k] - start[k]) * dir[k];
        }
        for (int k = 0; k < 3; ++k) {
            p[k] = start[k] + along * dir[k];
        }
        bool met = false;
        Orientation aim{0, 0, 0};
        double out[3] = {0, 0, 0};
        for (int round = 0; round < 4; ++round) {
            for (int k = 0; k < 3; ++k) {
                out[k] = target[k] - p[k];
            }
            double m[3];
            if (!normalise(out)) {
                break;
            }
            for (int k = 0; k < 3; ++k) {
                m[k] = out[k] - dir[k];
            }
            if (!normalise(m)) {
                break; // the beam runs at the target already
            }
            // The normal in the holder's frame: (sin yaw cos tilt, -sin tilt, cos yaw cos tilt).
            const double local[3] = {dot(m, axes[0]), dot(m, axes[1]), dot(m, axes[2])};
            const double tilt = -std::asin(std::clamp(local[1], -1.0, 1.0));
            const double yaw = std::atan2(local[0], local[2]);
            // The face's other side gives the same plane: the smaller turn of the two.
            const Orientation a{normalised(yaw * degrees), thousandths((tilt - tilted) * degrees)};
            const Orientation b{normalised(yaw * degrees + 180),
                                thousandths((-tilt - tilted) * degrees)};
            aim = std::fabs(a.yaw) + std::fabs(a.tilt) <= std::fabs(b.yaw) + std::fabs(b.tilt) ? a
                                                                                               : b;
            holder->setLocalMatrix(placed);
            element.parent->setLocalMatrix(frameLocal);
            element.rotateY(radians(aim.yaw));
            element.rotateX(radians(aim.tilt));
            float t = 0, hit[3], normal[3];
            met = element.hitTest(spot.beam, t, hit, normal) == HIT_ACTIVE;
            if (!met) {
                break;
            }
            for (int k = 0; k < 3; ++k) {
                p[k] = hit[k];
            }
        }
        if (!met) {
            continue;
        }
        double wallPoint[3], wallNormal[3];
        double to[3] = {target[0] - p[0], target[1] - p[1], target[2] - p[2]};
        const double distance = length(to);
        if (cast(p, out, wallPoint, wallNormal) < distance - 1) {
            continue; // a wall stands between
        }
        const bool known = std::any_of(aims.begin(), aims.end(), [&](const Orientation& o) {
            return o.yaw == aim.yaw && o.tilt == aim.tilt;
        });
        if (!known && (aim.yaw != 0 || aim.tilt != 0)) {
            aims.push_back(aim);
        }
    }
    holder->setLocalMatrix(placed);
    element.parent->setLocalMatrix(frameLocal);
    return aims;
}

void carryHolder(Holder& holder, const Matrix& before, const Spot& spot) {
    placeOnWall(holder, before,
                {static_cast<float>(spot.point[0]), static_cast<float>(spot.point[1]),
                 static_cast<float>(spot.point[2]), 1},
                {static_cast<float>(spot.normal[0]), static_cast<float>(spot.normal[1]),
                 static_cast<float>(spot.normal[2]), 0});
}

std::string describeSpot(Level& level, const Spot& spot, const ActiveObject* carried) {
    // The room: the box around every wall slab.
    double low[3], high[3];
    std::fill(low, low + 3, std::numeric_limits<double>::infinity());
    std::fill(high, high + 3, -std::numeric_limits<double>::infinity());
    for (ActiveObject* object : level.walls) {
        for (const Point& p : Wall::corners(*object)) {
            for (int k = 0; k < 3; ++k) {
                low[k] = std::min(low[k], double(p[k]));
                high[k] = std::max(high[k], double(p[k]));
            }
        }
    }
    // A surface of the room's shell lies within a slab's thickness and a little of its box.
    const double shell = 2 * Wall::HALF_Z + 30;
    int axis = 0;
    for (int k = 1; k < 3; ++k) {
        if (std::fabs(spot.normal[k]) > std::fabs(spot.normal[axis])) {
            axis = k;
        }
    }
    const bool up = spot.normal[axis] > 0;
    const bool outer =
        up ? spot.point[axis] - low[axis] < shell : high[axis] - spot.point[axis] < shell;
    std::string surface;
    if (axis == 1) {
        surface = outer ? (up ? "ON THE FLOOR" : "ON THE CEILING")
                        : (up ? "ON A BLOCK" : "UNDER A BLOCK");
    } else if (!outer) {
        surface = "ON THE SIDE OF A BLOCK";
    } else if (axis == 0) {
        surface = up ? "ON THE LEFT WALL" : "ON THE RIGHT WALL";
    } else {
        surface = up ? "ON THE BACK WALL" : "ON THE FRONT WALL";
    }

    double pane[3];
    for (int k = 0; k < 3; ++k) {
        pane[k] = spot.point[k] + HANG * spot.normal[k];
    }
    std::string nearest;
    double best = 300;
    bool above = false, below = false;
    for (ActiveObject* object : level.activeObjects) {
        const std::string name = object == carried ? "" : nameOf(object);
        if (name.empty()) {
            continue;
        }
        const Point c =
            dynamic_cast<FinshHead*>(object) ? object->getBoundingCenter() : worldOrigin(*object);
        const double d[3] = {c[0] - pane[0], c[1] - pane[1], c[2] - pane[2]};
        const double distance = length(d);
        if (distance < best) {
            best = distance;
            nearest = name;
            const double across = std::hypot(d[0], d[2]);
            above = axis == 1 && !up && -d[1] > across;
            below = axis == 1 && up && d[1] > across;
        }
    }
    if (nearest.empty()) {
        return surface;
    }
    const std::string text = surface + (above ? " ABOVE " : below ? " UNDER " : " NEAR ") + nearest;
    return text.size() <= 40 ? text : surface;
}

} // namespace solver
