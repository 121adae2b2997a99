#include "laser/BeamGuides.h"

#include "elements/ActiveObject.h"
#include "laser/HitShapes.h"
#include "laser/LaserBeam.h"
#include "level/Level.h"

#include <algorithm>
#include <cmath>

namespace {

/// Where a segment starts or ends, rays down and plumb lines start this far inside it: off the
/// face it met, so that a plumb line does not run in the face of a wall.
constexpr float NUDGE = 1.0f;
/// Plumb lines closer than this at the top are one line (those of a bend lie 2 NUDGE apart).
constexpr float SAME_POINT = 2.5f;

Point along(const Point& p, const Point& d, float t) {
    return {p[0] + d[0] * t, p[1] + d[1] * t, p[2] + d[2] * t, 1};
}

float distance(const Point& a, const Point& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// The height of the first wall face straight below p; false when there is none.
bool groundBelow(const Point& p, const std::vector<ActiveObject*>& walls, float& height) {
    float t = 0;
    Point normal;
    const bool found = firstWallFace({p, {0, -1, 0, 0}}, walls, t, normal);
    height = p[1] - t;
    return found;
}

} // namespace

bool firstWallFace(const Ray& ray, const std::vector<ActiveObject*>& walls, float& distance,
                   Point& normal) {
    float nearest = NO_HIT_DISTANCE;
    for (ActiveObject* wall : walls) {
        float t = 0, estimate = 0, p[3], n[3];
        if (wall->hitsBoundingSphere(ray, estimate) && wall->hitTest(ray, t, p, n) > HIT_NONE &&
            std::isfinite(t) && t < nearest) {
            nearest = t;
            normal = {n[0], n[1], n[2], 0};
        }
    }
    distance = nearest;
    return nearest < NO_HIT_DISTANCE;
}

void collectBeamGuides(Level& level, BeamGuides& guides) {
    guides.ends.clear();
    guides.groundTraces.clear();
    guides.plumbLines.clear();
    // Segments that only continue a beam cut at a filter's plane: nothing bends where they start.
    std::vector<const LaserBeam*> cutStarts;
    for (const LaserBeam* s : level.laserBeams) {
        if (!s->hitObject) {
            cutStarts.insert(cutStarts.end(), s->nextSegments.begin(), s->nextSegments.end());
        }
    }
    const auto plumb = [&](const Point& top, bool grounded, float ground, const LaserBeam& s) {
        const bool seen = std::any_of(
            guides.plumbLines.begin(), guides.plumbLines.end(),
            [&](const BeamGuides::Line& l) { return distance(l.from, top) < SAME_POINT; });
        const float bottom = ground + GROUND_TRACE_LIFT;
        if (grounded && !seen && top[1] > bottom) {
            guides.plumbLines.push_back(
                {top, {top[0], bottom, top[2], 1}, s.colorCode, s.intensity});
        }
    };
    for (LaserBeam* s : level.laserBeams) {
        const Point a = s->startPoint(), b = s->endPoint(), d = s->beamDirection();
        const float nudge = std::min(NUDGE, distance(a, b) / 2);
        float groundA = 0, groundB = 0;
        const Point inA = along(a, d, nudge), inB = along(b, d, -nudge);
        const bool underA = groundBelow(inA, level.walls, groundA);
        const bool underB = groundBelow(inB, level.walls, groundB);
        if (underA && underB) {
            const float y = std::min(groundA, groundB) + GROUND_TRACE_LIFT;
            guides.groundTraces.push_back(
                {{a[0], y, a[2], 1}, {b[0], y, b[2], 1}, s->colorCode, s->intensity});
        }
        if (std::find(cutStarts.begin(), cutStarts.end(), s) == cutStarts.end()) {
            plumb(inA, underA, groundA, *s);
        }
        if (s->hitObject) {
            guides.ends.push_back({b, s->colorCode, s->intensity});
            plumb(inB, underB, groundB, *s);
        }
    }
}
