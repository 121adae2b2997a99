#pragma once
// The light of one laser update as the solver's search sees it: the beams as segments between
// elements, which turnable elements each passes near, keys for telling two traces apart, and
// what a turnable element does to a beam without a new trace. A trace is plain data, kept after
// the level's beams are gone, so that a state met again needs no new update. Internal to the
// solver.

#include "laser/Ray.h"
#include "solver/Turnables.h"

#include <algorithm>
#include <array>
#include <climits>
#include <unordered_map>
#include <vector>

class ActiveObject;
class LaserBeam;
class Level;

namespace solver {

/// What a segment is, for comparing traces: quantised geometry, colour, intensity, and the ids
/// (indices in activeObjects) of its owner and of what it hit. A part that differs between
/// orientations of the element being decided without mattering (where the light starts on it or
/// ends on it) is left out as DROPPED.
using Key = std::array<long long, 16>;
constexpr long long DROPPED = LLONG_MIN;

/// A beam between two elements: a traced segment and the pieces it was cut into at filter
/// planes.
struct Segment {
    double start[3];
    double dir[3];
    double length; ///< infinite when it hit nothing
    int owner;     ///< id, -1 for none
    int hit;       ///< id, -1 for none
    signed char colour;
    signed char intensity;
    bool fromCollector;    ///< a collector sent it (its colour grows with what it gathers)
    std::vector<int> near; ///< turnables whose sphere it passes (not its owner)
    std::vector<int> next; ///< the segments that go on from its end (indices in the trace)
};

/// The light of one laser update.
struct Trace {
    std::vector<Segment> segments; ///< in the order of the trace
    bool solved = false;           ///< every goal gets light, all of it in the goal's colour
    std::vector<bool> goalLit;     ///< for each of level.goals: it gets light of its colour only
};

/// An element's id: its index in level.activeObjects.
using Ids = std::unordered_map<const ActiveObject*, int>;

/// Gathers the beams and goals of the level's last update, with the turnables each beam passes
/// near.
void gatherTrace(const Level& level, const Ids& ids, const std::vector<Turnable>& turnables,
                 Trace& trace);

/// Where along the segment its line comes closest to the turnable's sphere centre, or -1 when
/// the segment does not pass through the sphere.
inline double along(const Segment& s, const Turnable& t) {
    double to[3], proj = 0;
    for (int k = 0; k < 3; ++k) {
        to[k] = t.centre[k] - s.start[k];
        proj += to[k] * s.dir[k];
    }
    const double u = std::clamp(proj, 0.0, s.length);
    double d2 = 0;
    for (int k = 0; k < 3; ++k) {
        const double e = to[k] - u * s.dir[k];
        d2 += e * e;
    }
    return d2 <= t.radius * t.radius ? u : -1.0;
}

/// The segment's key, without where it starts or ends when asked.
Key segmentKey(const Segment& s, bool dropStart, bool dropEnd);

/// A segment near turnable t as t sees it: where the light ends on t does not count.
inline Key nearKey(const Segment& s, const Turnable& t) {
    return segmentKey(s, false, s.hit == t.activeIndex);
}

/// A sphere that light must pass through to reach an element that does something with it.
struct Sphere {
    double centre[3];
    double radius;
    int turnable; ///< -1 for a fixed element
};

/// The spheres of everything that reacts to light (turnables, goals, collectors).
std::vector<Sphere> reactiveSpheres(const Level& level, const std::vector<Turnable>& turnables);

/// What an element does to one beam that comes near it, as far as anything else can tell: the
/// light misses it, ends on it (on an edge, used up, or reflected where nothing can take it up),
/// passes through it (a half mirror's share, reflection lost) or through its filter; or
/// something that only a trace tells.
enum class Response : signed char { Miss, Block, Transmit, Filter, Trace };

/// A beam near the element being decided, from a trace.
struct Incoming {
    Ray ray;
    double otherHit; ///< distance to the nearest thing else the beam hits, infinite for none
    signed char intensity;
    bool operator==(const Incoming& o) const {
        return ray.origin == o.ray.origin && ray.direction == o.ray.direction &&
               otherHit == o.otherHit && intensity == o.intensity;
    }
};

/// The beams of `segments` near turnable x, with the distance each would go without x. The
/// elements must stand as they did for the trace.
std::vector<Incoming> incomingNear(Level& level, const std::vector<Segment>& segments,
                                   const std::vector<Turnable>& turnables, int x);

/// Whether turnable x in its orientation o (worked out from its matrices, without turning it)
/// may send one of the beams of `segments` near it on towards something in `reactive` other
/// than itself: the beam meets the plane of its pane within the pane's reach and the reflection
/// from there passes a sphere. False says for certain that no reflection of those beams does.
bool mayReflectOn(const std::vector<Turnable>& turnables, int x, int o,
                  const std::vector<Segment>& segments, const std::vector<Sphere>& reactive);

/// The ray of a segment.
Ray rayOf(const Segment& s);

/// A matrix that places a laser beam (a query probe) at `origin` along the unit `dir`: its -Z
/// axis is dir.
Matrix rayMatrix(const double origin[3], const double dir[3]);

/// What turnable x, as it stands, does to each beam: the tracer's own tests of x against the
/// ray, and for a reflection whether it can reach anything else in `reactive`.
std::vector<Response> responses(const std::vector<Turnable>& turnables, int x,
                                const std::vector<Incoming>& incoming,
                                const std::vector<Sphere>& reactive);

} // namespace solver
