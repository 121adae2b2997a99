#include "laser/Tracer.h"

#include "elements/ActiveObject.h"
#include "elements/ColorFilter.h"
#include "laser/FilterMask.h"
#include "laser/HitShapes.h"
#include "laser/LaserBeam.h"
#include "laser/TransparentOrder.h"
#include "level/Level.h"

#include <algorithm>
#include <cmath>

namespace {

// Where a beam crosses the plane of a colour filter before its hit.
struct FilterCrossing {
    float distance;   ///< along the beam from its start
    int filterBit;    ///< the crossed filter's bit
    bool startBehind; ///< the beam starts on the back side of that plane
};

// Records a crossing of the filter's plane, and the filter's bit in the beam's mask when the
// beam starts behind it (unless a filter emitted the beam: it inherited its mask).
void crossFilterPlane(LaserBeam& beam, const Ray& ray, bool ownerIsFilter, ColorFilter& filter,
                      std::vector<FilterCrossing>& crossings) {
    for (const auto& shape : filter.activeShapes) {
        float t = 0;
        if (!shape->hit(ray, t, nullptr, nullptr, true)) {
            continue;
        }
        const Point& start = ray.origin;
        const Point& n = filter.planeNormal;
        const bool startBehind =
            n[0] * start[0] + n[1] * start[1] + n[2] * start[2] + filter.planeOffset < 0;
        if (startBehind && !ownerIsFilter) {
            beam.filterMask = maskAdd(beam.filterMask, filter.filterMask);
        }
        if (t > 0 && std::isfinite(t)) {
            crossings.push_back({t, filter.filterMask, startBehind});
        }
        return;
    }
}

Point difference(const Point& a, const Point& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2], 0};
}

} // namespace

int traceLaser(LaserBeam& beam, float outPoint[3], float outNormal[3], bool queryOnly,
               const std::vector<ActiveObject*>& candidates, Level& level) {
    float best = 0.0f;
    int bestIndex = -1;
    int bestCode = -1;
    bool noHitYet = true;
    const Ray ray = beam.ray();
    const bool ownerIsFilter = beam.owner != nullptr && beam.owner->asColorFilter() != nullptr;
    // Stays empty, and unallocated, unless the beam meets the plane of a filter.
    std::vector<FilterCrossing> crossings;

    for (std::size_t i = 0; i < candidates.size(); ++i) {
        ActiveObject* candidate = candidates[i];
        // A filter without shapes would cross no plane either.
        if (candidate == beam.owner || !candidate->canBeHit()) {
            continue;
        }
        if (!queryOnly) {
            if (ColorFilter* filter = candidate->asColorFilter()) {
                crossFilterPlane(beam, ray, ownerIsFilter, *filter, crossings);
            }
        }
        float scratch;
        if (!candidate->hitsBoundingSphere(ray, scratch)) {
            continue;
        }
        float t = 0, p[3] = {0, 0, 0}, n[3] = {0, 0, 0};
        const int code = candidate->hitTest(ray, t, p, n);
        // A degenerate element (scaled to nothing, say) can yield a distance that is no number:
        // no hit, or it would poison every comparison after it.
        if (code > HIT_NONE && std::isfinite(t) && (t < best || noHitYet)) {
            best = t;
            bestCode = code;
            noHitYet = false;
            bestIndex = static_cast<int>(i);
            if (queryOnly) {
                std::copy(p, p + 3, outPoint);
                std::copy(n, n + 3, outNormal);
            }
        }
    }
    if (queryOnly) {
        return bestIndex;
    }

    if (bestIndex == -1) {
        best = DEFAULT_BEAM_LENGTH;
    }
    // Nearest crossing first; the loop below stops at the hit, so those beyond it are ignored.
    std::sort(
        crossings.begin(), crossings.end(),
        [](const FilterCrossing& a, const FilterCrossing& b) { return a.distance < b.distance; });

    level.addObject(&beam);
    LaserBeam* current = &beam;
    float previous = 0.0f;
    for (const FilterCrossing& crossing : crossings) {
        if (!(crossing.distance < best)) {
            break;
        }
        const Matrix m = current->getWorldMatrix();
        const Point segmentStart = current->startPoint();
        current->scale(1, 1, crossing.distance - previous);
        LaserBeam* next = level.newLaserBeam(beam.colorCode, beam.intensity, beam.owner, m);
        next->filterMask = crossing.startBehind ? maskSub(current->filterMask, crossing.filterBit)
                                                : maskAdd(current->filterMask, crossing.filterBit);
        level.addObject(next);
        const Point shift = difference(current->endPoint(), segmentStart);
        next->translate(shift[0], shift[1], shift[2]);
        current->nextSegments.push_back(next);
        current->hitObject = nullptr;
        previous = crossing.distance;
        current = next;
    }
    current->scale(1, 1, best - previous);

    if (bestIndex == -1) {
        return -1;
    }
    current->hitObject = candidates[bestIndex];
    if (bestCode == HIT_ACTIVE) {
        candidates[bestIndex]->incomingLasers.push_back(current);
        return bestIndex;
    }
    return -1;
}

namespace {

// propagateLasers, with the stack of segments still to trace shared down the recursion (which
// spares each call a copy on the heap). A call traces the segments its element emitted and had not
// handed over yet, as they are on entry: what the recursion adds to the element's list is for the
// nested calls.
void propagateFrom(Level& level, ActiveObject& element, std::vector<LaserBeam*>& pending) {
    const std::size_t base = pending.size();
    const std::size_t first = static_cast<std::size_t>(element.tracedCount);
    const std::size_t count = element.outgoingLasers.size();
    if (first < count) {
        pending.insert(pending.end(), element.outgoingLasers.begin() + first,
                       element.outgoingLasers.end());
    }
    element.tracedCount = static_cast<int>(count);
    const std::size_t end = pending.size();
    for (std::size_t i = base; i < end; ++i) {
        // Indexed afresh each time: the nested calls grow the stack and may move it.
        LaserBeam& segment = *pending[i];
        float point[3], normal[3];
        const int hit = traceLaser(segment, point, normal, false, level.activeObjects, level);
        if (hit != -1) {
            ActiveObject* target = level.activeObjects[hit];
            if (target->emitOutgoingLasers(level)) {
                propagateFrom(level, *target, pending);
            }
        }
    }
    pending.resize(base);
}

} // namespace

void propagateLasers(Level& level, ActiveObject& element) {
    std::vector<LaserBeam*> pending;
    propagateFrom(level, element, pending);
}

void updateLasers(Level& level) {
    for (ActiveObject* element : level.activeObjects) {
        element->resetLasers();
    }
    level.clearLaserBeams();
    level.transparentSet = std::make_unique<TransparentSet>();
    for (std::size_t i = 0; i < level.colorFilters.size(); ++i) {
        ColorFilter* filter = level.colorFilters[i];
        updateFilterGeometry(*filter);
        filter->filterMask = filterBit(i);
        registerTransparent(*level.transparentSet, filter);
    }
    if (level.activeObjects.empty()) {
        return;
    }
    ActiveObject& first = *level.activeObjects.front();
    first.emitOutgoingLasers(level);
    propagateLasers(level, first);
}
