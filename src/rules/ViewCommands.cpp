#include "rules/ViewCommands.h"

#include "elements/ActiveObject.h"
#include "elements/Wall.h"
#include "level/Level.h"
#include "rules/Interaction.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double RADIANS = PI / 180.0;
/// The overview's tries, steepest first, in degrees.
constexpr double OVERVIEW_STEEPEST = STEEPEST_VIEW, OVERVIEW_FLATTEST = 30.0, OVERVIEW_STEP = 5.0;
/// The eye of the overview keeps this much more than CAMERA_WALL_DISTANCE from the walls, so
/// that rounding never puts it closer.
constexpr float OVERVIEW_MARGIN = 1.0f;
/// How close (world units) the eye must still be to where the overview put it for the way back.
constexpr float OVERVIEW_STAY = 1.0f;

struct Sphere {
    Point centre;
    float radius;
};

struct Box {
    float low[3] = {1e30f, 1e30f, 1e30f};
    float high[3] = {-1e30f, -1e30f, -1e30f};
    void add(const Point& p, float r) {
        for (int i = 0; i < 3; ++i) {
            low[i] = std::min(low[i], p[i] - r);
            high[i] = std::max(high[i], p[i] + r);
        }
    }
    Point centre() const {
        return {(low[0] + high[0]) / 2, (low[1] + high[1]) / 2, (low[2] + high[2]) / 2, 1};
    }
    bool contains(const Point& p) const {
        for (int i = 0; i < 3; ++i) {
            if (!(p[i] >= low[i] && p[i] <= high[i])) {
                return false;
            }
        }
        return true;
    }
};

// The world direction a view with this heading and pitch looks along.
Point lookingAlong(double heading, double pitch) {
    return {static_cast<float>(std::cos(pitch) * std::sin(heading)),
            static_cast<float>(-std::sin(pitch)),
            static_cast<float>(-std::cos(pitch) * std::cos(heading)), 0};
}

Point along(const Point& from, const Point& direction, double t) {
    return {static_cast<float>(from[0] + t * direction[0]),
            static_cast<float>(from[1] + t * direction[1]),
            static_cast<float>(from[2] + t * direction[2]), 1};
}

// The frustum plane's signed distance of an eye-space point (positive outside).
float planeDistance(const FrustumPlane& plane, const Point& q) {
    return plane.normal[0] * (q[0] - plane.point[0]) + plane.normal[1] * (q[1] - plane.point[1]) +
           plane.normal[2] * (q[2] - plane.point[2]);
}

// How far back along its direction a view turned so, with the eye at `centre`, must go for
// every sphere to be wholly inside the frustum's planes that face forward (moving back helps
// against them: all but the far plane).
double distanceForAll(const std::vector<Sphere>& spheres, const Matrix& fromCentre,
                      const Frustum& visible) {
    double back = 0;
    for (const Sphere& sphere : spheres) {
        Point q = sphere.centre;
        transformPoint(fromCentre, q);
        for (const FrustumPlane& plane : visible) {
            if (plane.normal[2] > 1e-6f) {
                back = std::max(back, (planeDistance(plane, q) + sphere.radius) /
                                          static_cast<double>(plane.normal[2]));
            }
        }
    }
    return back;
}

int countInView(const std::vector<Sphere>& spheres, const Matrix& view, const Frustum& visible) {
    int count = 0;
    for (const Sphere& sphere : spheres) {
        Point q = sphere.centre;
        transformPoint(view, q);
        count += !sphereOutside(visible, q, -sphere.radius); // wholly inside every plane
    }
    return count;
}

struct Candidate {
    int inView = -1;
    Matrix view;
};

} // namespace

Matrix viewFrom(const Point& eye, double heading, double pitch) {
    Matrix view = Matrix::translation(-eye[0], -eye[1], -eye[2]);
    matrixRotateY(view, static_cast<float>(heading), 1);
    matrixRotateX(view, static_cast<float>(pitch), 1);
    return view;
}

bool lookAt(Matrix& view, const Point& target) {
    const Point eye = eyePosition(view);
    const double dx = target[0] - eye[0], dy = target[1] - eye[1], dz = target[2] - eye[2];
    const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (!(length > 1e-3)) {
        return false;
    }
    const double steepest = STEEPEST_VIEW * RADIANS;
    const double pitch = std::clamp(std::asin(-dy / length), -steepest, steepest);
    double heading = std::atan2(dx, -dz);
    if (std::hypot(dx, dz) < 1e-3 * length) {
        Point forward, right;
        viewerGroundAxes(view, forward, right);
        heading = std::atan2(forward[0], -forward[2]);
    }
    view = viewFrom(eye, heading, pitch);
    return true;
}

std::string lookAtSelection(Matrix& view, Renderable* selected) {
    if (!selected) {
        return "SELECT AN ELEMENT FIRST";
    }
    lookAt(view, selected->getBoundingCenter());
    return "";
}

Matrix overviewView(Level& level, const Matrix& view, const Frustum& visible) {
    std::vector<Sphere> spheres;
    Box puzzle, room;
    for (ActiveObject* object : level.activeObjects) {
        const float r = object->getCollisionRadius();
        if (r > 0) {
            spheres.push_back({object->getBoundingCenter(), r * 0.5f});
            puzzle.add(spheres.back().centre, r);
        }
    }
    for (ActiveObject* wall : level.walls) {
        for (const Point& corner : Wall::corners(*wall)) {
            room.add(corner, 0);
        }
    }
    if (spheres.empty() || level.walls.empty() || !room.contains(puzzle.centre())) {
        return view;
    }
    const Point centre = puzzle.centre();
    const auto mayStand = [&](const Point& eye) {
        return room.contains(eye) &&
               wallClearance(eye, level.walls) >= CAMERA_WALL_DISTANCE + OVERVIEW_MARGIN;
    };
    Point forward, right;
    viewerGroundAxes(view, forward, right);
    const double ownHeading = std::atan2(forward[0], -forward[2]);

    Candidate best;
    for (int quarter = 0; quarter < 8; ++quarter) {
        const double heading = ownHeading + quarter * PI / 4;
        for (double degrees = OVERVIEW_STEEPEST; degrees >= OVERVIEW_FLATTEST;
             degrees -= OVERVIEW_STEP) {
            const double pitch = degrees * RADIANS;
            const Point back = lookingAlong(heading, pitch + PI); // from the centre to the eye
            double t = distanceForAll(spheres, viewFrom(centre, heading, pitch), visible);
            for (int i = 0; i < 3; ++i) { // within the box of the walls
                if (back[i] != 0) {
                    const float side = back[i] > 0 ? room.high[i] : room.low[i];
                    t = std::min(t, (side - centre[i]) / static_cast<double>(back[i]));
                }
            }
            // Nearer the puzzle, in steps that never jump a wall, until the eye may stand there.
            while (t > 0 && !mayStand(along(centre, back, t))) {
                const float clearance = wallClearance(along(centre, back, t), level.walls);
                t -= std::clamp(CAMERA_WALL_DISTANCE + OVERVIEW_MARGIN - clearance, 2.0f, 10.0f);
            }
            if (t <= 0) {
                continue; // the centre itself is no place for the eye
            }
            const Matrix candidate = viewFrom(along(centre, back, t), heading, pitch);
            const int inView = countInView(spheres, candidate, visible);
            if (inView > best.inView) {
                best = {inView, candidate};
            }
            if (inView == static_cast<int>(spheres.size())) {
                return candidate;
            }
        }
    }
    return best.inView >= 0 ? best.view : view;
}

bool toggleOverview(Matrix& view, OverviewReturn& back, Level& level, const Frustum& visible) {
    const Point eye = eyePosition(view);
    const float moved =
        std::hypot(eye[0] - back.eye[0], eye[1] - back.eye[1], eye[2] - back.eye[2]);
    if (back.set && moved < OVERVIEW_STAY) {
        view = back.view;
        back.set = false;
        return true;
    }
    back.set = true;
    back.view = view;
    view = overviewView(level, view, visible);
    back.eye = eyePosition(view);
    return false;
}
