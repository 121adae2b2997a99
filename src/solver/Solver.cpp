#include "solver/Solver.h"

#include "core/Model.h"
#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "laser/LaserBeam.h"
#include "laser/Ray.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "rules/GameRules.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cmath>
#include <limits>
#include <unordered_map>

namespace {

constexpr double PI = 3.141592653589793;

// Degrees to the radians the level reader and the game use.
float radians(int degrees) {
    return static_cast<float>(degrees / 180.0 * PI);
}

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

struct Orientation {
    int yaw;  ///< degrees, (-180, 180]
    int tilt; ///< degrees
};

// The tilt of a frame: the angle of its -Z axis above the holder's horizontal plane.
double tiltDegrees(const Matrix& frameLocal) {
    return std::atan2(-frameLocal[9], frameLocal[10]) * 180.0 / PI;
}

// Every heading of the circle and every tilt within 90 degrees of the un-tilted frame, the
// current orientation first, then by smaller turn.
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

struct Turnable {
    ActiveObject* element;
    Renderable* frame;
    Renderable* holder;
    Matrix holderLocal;
    Matrix frameLocal;
    std::vector<Orientation> orientations; ///< [0] is the current one
    int activeIndex;
    int applied = 0; ///< index into orientations
    /// A sphere that holds the element in every orientation: around the holder's origin, the
    /// pivot of both turns.
    double centre[3];
    double radius;
};

// What a segment is, for comparing traces: quantised geometry, colour, intensity, and the ids
// (indices in activeObjects) of its owner and of what it hit. A part that differs between
// orientations of the element being decided without mattering (where the light starts on it or
// ends on it) is left out as DROPPED.
using Key = std::array<long long, 16>;
constexpr long long DROPPED = LLONG_MIN;

long long quantise(double value, double scale) {
    if (!std::isfinite(value)) {
        return DROPPED + 1;
    }
    return std::llround(std::clamp(value * scale, -1e15, 1e15));
}

// A beam between two elements: a traced segment and the pieces it was cut into at filter planes.
struct Segment {
    LaserBeam* first;
    LaserBeam* last;
    double start[3];
    double dir[3];
    double length; ///< infinite when it hit nothing
    int owner;     ///< id, -1 for none
    int hit;       ///< id, -1 for none
    signed char colour;
    signed char intensity;
    std::vector<int> near; ///< turnables whose sphere it passes (not its owner)
};

// The choice made for a turnable element: undecided, or one or more orientations that left the
// light the same (members[0] is applied).
struct Choice {
    bool decided = false;
    std::vector<int> members;
    /// The light near the element when the members were grouped (see nearKey).
    std::vector<Key> known;
    bool open() const { return !decided || members.size() > 1; }
};

// What an element does to one beam that comes near it, as far as anything else can tell: the
// light misses it, ends on it (on an edge, used up, or reflected where nothing can take it up),
// passes through it (a half mirror's share, reflection lost) or through its filter; or something
// that only a trace tells.
enum class Response : signed char { Miss, Block, Transmit, Filter, Trace };

// A beam near the element being decided, from a group's trace.
struct Incoming {
    Ray ray;
    double otherHit; ///< distance to the nearest thing else the beam hits, infinite for none
    signed char intensity;
};

// Orientations of the element being decided that left the light the same.
struct Group {
    std::vector<int> members;
    std::vector<Key> known;
    std::vector<Key> signature;
    /// The beams near the element in the first member's trace and what it does to each; an
    /// orientation that does the same to each of them (none needing a trace) leaves the same
    /// light. Empty responses: the group takes no orientation without a trace.
    std::vector<Incoming> incoming;
    std::vector<Response> responses;
};

// A sphere that light must pass through to reach an element that does something with it.
struct Sphere {
    double centre[3];
    double radius;
    int turnable; ///< -1 for a fixed element
};

bool rayPasses(const double origin[3], const double dir[3], const Sphere& sphere) {
    double to[3], proj = 0;
    for (int k = 0; k < 3; ++k) {
        to[k] = sphere.centre[k] - origin[k];
        proj += to[k] * dir[k];
    }
    const double u = std::max(proj, 0.0);
    double d2 = 0;
    for (int k = 0; k < 3; ++k) {
        const double e = to[k] - u * dir[k];
        d2 += e * e;
    }
    return d2 <= sphere.radius * sphere.radius;
}

struct Stop {};

class Search {
  public:
    Search(Level& level, const SolveOptions& options)
        : level_(level), options_(options), started_(std::chrono::steady_clock::now()) {}

    SolveResult run() {
        const int step = options_.stepDegrees;
        if (step < 1 || step > 180 || 360 % step != 0) {
            result_.outcome = SolveOutcome::NoSolution;
            return finish();
        }
        for (std::size_t i = 0; i < level_.activeObjects.size(); ++i) {
            ids_[level_.activeObjects[i]] = static_cast<int>(i);
            if (Holder* holder = holderOf(level_.activeObjects[i])) {
                addTurnable(level_.activeObjects[i], holder, static_cast<int>(i), step);
            }
        }
        choices_.assign(turnables_.size(), Choice{});
        findReactiveSpheres();
        try {
            int most = static_cast<int>(turnables_.size());
            if (options_.maxChangedElements > 0) {
                most = std::min(most, options_.maxChangedElements);
            }
            for (int budget = 0; budget <= most; ++budget) {
                budgetCut_ = false;
                if (search(budget)) {
                    result_.outcome = SolveOutcome::Solved;
                    return finish();
                }
                if (!budgetCut_) {
                    break;
                }
            }
            result_.outcome = SolveOutcome::NoSolution;
        } catch (const Stop&) {
        }
        return finish();
    }

  private:
    void addTurnable(ActiveObject* element, Holder* holder, int activeIndex, int step) {
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
            const double c = std::sqrt(model->centre[0] * model->centre[0] +
                                       model->centre[1] * model->centre[1] +
                                       model->centre[2] * model->centre[2]);
            reach = (c + model->radius) * maxScale(ew);
        }
        for (int i = 0; i < 3; ++i) {
            t.centre[i] = hw[12 + i];
        }
        t.radius = distance(hw, fw) + distance(fw, ew) + reach + 1.0;
        turnables_.push_back(std::move(t));
    }

    // The spheres of everything that reacts to light (turnables, goals, collectors), and which
    // turnables stand clear of all the others.
    void findReactiveSpheres() {
        for (ActiveObject* object : level_.activeObjects) {
            const auto t = std::find_if(turnables_.begin(), turnables_.end(),
                                        [&](const Turnable& e) { return e.element == object; });
            if (t != turnables_.end()) {
                reactive_.push_back(Sphere{{t->centre[0], t->centre[1], t->centre[2]},
                                           t->radius,
                                           static_cast<int>(t - turnables_.begin())});
            } else if (!object->activeShapes.empty() || dynamic_cast<FinshHead*>(object)) {
                const Point c = object->getBoundingCenter();
                reactive_.push_back(
                    Sphere{{c[0], c[1], c[2]}, object->getBoundingRadius() + 1.0, -1});
            }
        }
        for (std::size_t t = 0; t < turnables_.size(); ++t) {
            const Turnable& e = turnables_[t];
            bool clear = true;
            for (const Sphere& s : reactive_) {
                double d2 = 0;
                for (int k = 0; k < 3; ++k) {
                    d2 += (s.centre[k] - e.centre[k]) * (s.centre[k] - e.centre[k]);
                }
                const double r = s.radius + e.radius;
                clear = clear && (s.turnable == static_cast<int>(t) || d2 > r * r);
            }
            isolated_.push_back(clear);
        }
    }

    // The orientation o of turnable t, built from its matrices as they were given.
    void apply(int t, int o) {
        Turnable& e = turnables_[t];
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

    static int cost(int orientation) { return orientation == 0 ? 0 : 1; }

    void trace() {
        if (options_.cancel && options_.cancel->load(std::memory_order_relaxed)) {
            result_.outcome = SolveOutcome::Cancelled;
            throw Stop{};
        }
        if (options_.timeLimitSeconds > 0 && (result_.states & 63) == 0 &&
            elapsedMs() > options_.timeLimitSeconds * 1000.0) {
            result_.outcome = SolveOutcome::TimeLimit;
            throw Stop{};
        }
        updateLasers(level_);
        ++result_.states;
        analyse();
    }

    int id(const ActiveObject* object) const {
        if (!object) {
            return -1;
        }
        const auto it = ids_.find(object);
        return it == ids_.end() ? -1 : it->second;
    }

    // Gathers the beams of the last update, with the turnables each passes near.
    void analyse() {
        segments_.clear();
        const std::vector<LaserBeam*>& beams = level_.laserBeams;
        for (std::size_t i = 0; i < beams.size(); ++i) {
            Segment s;
            s.first = beams[i];
            // The pieces a beam was cut into at filter planes follow it in the list.
            while (i + 1 < beams.size() && beams[i]->hitObject == nullptr &&
                   !beams[i]->nextSegments.empty() &&
                   beams[i]->nextSegments.front() == beams[i + 1]) {
                ++i;
            }
            s.last = beams[i];
            const Point a = s.first->startPoint();
            const Point b = s.last->endPoint();
            const Point d = s.first->beamDirection();
            for (int k = 0; k < 3; ++k) {
                s.start[k] = a[k];
                s.dir[k] = d[k];
            }
            s.hit = id(s.last->hitObject);
            s.owner = id(s.first->owner);
            s.length = std::numeric_limits<double>::infinity();
            if (s.last->hitObject) {
                s.length = std::sqrt((b[0] - a[0]) * double(b[0] - a[0]) +
                                     (b[1] - a[1]) * double(b[1] - a[1]) +
                                     (b[2] - a[2]) * double(b[2] - a[2]));
            }
            s.colour = s.last->colorCode;
            s.intensity = s.first->intensity;
            for (std::size_t t = 0; t < turnables_.size(); ++t) {
                if (turnables_[t].activeIndex != s.owner && along(s, turnables_[t]) >= 0) {
                    s.near.push_back(static_cast<int>(t));
                }
            }
            segments_.push_back(std::move(s));
        }
    }

    // Where along the segment its line comes closest to the turnable's sphere centre, or -1 when
    // the segment does not pass through the sphere.
    static double along(const Segment& s, const Turnable& t) {
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

    Key key(const Segment& s, bool dropStart, bool dropEnd) const {
        Key k;
        k[0] = s.owner;
        k[1] = s.hit;
        k[2] = s.colour;
        k[3] = s.intensity;
        // The line: its direction and its point nearest the origin.
        double dot = 0;
        for (int i = 0; i < 3; ++i) {
            dot += s.start[i] * s.dir[i];
        }
        for (int i = 0; i < 3; ++i) {
            k[4 + i] = quantise(s.dir[i], 1e5);
            k[7 + i] = quantise(s.start[i] - dot * s.dir[i], 16);
            k[10 + i] = dropStart ? DROPPED : quantise(s.start[i], 16);
            k[13 + i] = dropEnd || !std::isfinite(s.length)
                            ? DROPPED
                            : quantise(s.start[i] + s.length * s.dir[i], 16);
        }
        return k;
    }

    // A segment near turnable t as t sees it: where the light ends on t does not count.
    Key nearKey(const Segment& s, int t) const {
        return key(s, false, s.hit == turnables_[t].activeIndex);
    }

    bool isKnown(const Segment& s, int t) const {
        const std::vector<Key>& known = choices_[t].known;
        return std::find(known.begin(), known.end(), nearKey(s, t)) != known.end();
    }

    // Light near t that t's choice has not been made for.
    bool openNear(const Segment& s, int t) const {
        const Choice& c = choices_[t];
        return !c.decided || (c.members.size() > 1 && !isKnown(s, t));
    }

    bool solvedNow() const {
        for (const FinshHead* goal : level_.goals) {
            if (goal->incomingLasers.empty()) {
                return false;
            }
            for (const LaserBeam* beam : goal->incomingLasers) {
                if (beam->colorCode != goal->requiredColor) {
                    return false;
                }
            }
        }
        return true;
    }

    // A goal lit in a wrong colour along a path that no open choice can change, nor a collector
    // (whose colour grows with what it gathers).
    bool wrongLightIsFixed() {
        changeable_.clear();
        for (const Segment& s : segments_) {
            bool changeable = s.first->owner && dynamic_cast<Collector*>(s.first->owner);
            for (int t : s.near) {
                changeable = changeable || openNear(s, t);
            }
            const auto inherited = changeable_.find(s.first);
            changeable = changeable || (inherited != changeable_.end() && inherited->second);
            for (const LaserBeam* next : s.last->nextSegments) {
                changeable_[next] = changeable_[next] || changeable;
            }
            if (!changeable && s.hit >= 0) {
                if (auto* goal = dynamic_cast<FinshHead*>(level_.activeObjects[s.hit])) {
                    if (s.colour != goal->requiredColor) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

    // Everything about the last trace that a later choice can meet, as seen while deciding x:
    // the beams near open elements (x among them) and the beams into goals.
    std::vector<Key> signature(int x) const {
        const int xId = turnables_[x].activeIndex;
        std::vector<Key> keys;
        for (const Segment& s : segments_) {
            bool live = s.hit >= 0 && dynamic_cast<FinshHead*>(level_.activeObjects[s.hit]);
            for (int t : s.near) {
                live = live || t == x || choices_[t].open();
            }
            if (live) {
                keys.push_back(key(s, s.owner == xId, s.hit == xId));
            }
        }
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    std::vector<Key> knownNear(int x) const {
        std::vector<Key> keys;
        for (const Segment& s : segments_) {
            if (std::find(s.near.begin(), s.near.end(), x) != s.near.end()) {
                keys.push_back(nearKey(s, x));
            }
        }
        return keys;
    }

    // The beams near x in the last trace, with the distance each would go without x.
    std::vector<Incoming> incomingNear(int x) {
        std::vector<ActiveObject*> others;
        for (ActiveObject* object : level_.activeObjects) {
            if (object != turnables_[x].element) {
                others.push_back(object);
            }
        }
        std::vector<Incoming> list;
        for (const Segment& s : segments_) {
            if (std::find(s.near.begin(), s.near.end(), x) == s.near.end()) {
                continue;
            }
            Incoming in{s.first->ray(), std::numeric_limits<double>::infinity(), s.intensity};
            float point[3], normal[3];
            if (traceLaser(*s.first, point, normal, true, others, level_) >= 0) {
                double d2 = 0;
                for (int k = 0; k < 3; ++k) {
                    d2 += (point[k] - in.ray.origin[k]) * double(point[k] - in.ray.origin[k]);
                }
                in.otherHit = std::sqrt(d2);
            }
            list.push_back(in);
        }
        return list;
    }

    // What x, as it stands, does to a beam: the tracer's own tests of x against the ray, and
    // for a reflection whether it can reach anything that reacts to light.
    Response respond(int x, const Incoming& in) const {
        ActiveObject* e = turnables_[x].element;
        float scratch = 0;
        if (!e->hitsBoundingSphere(in.ray, scratch)) {
            return Response::Miss;
        }
        float t = 0, p[3] = {0, 0, 0}, n[3] = {0, 0, 0};
        const int code = e->hitTest(in.ray, t, p, n);
        if (code == HIT_NONE || !std::isfinite(t) || t > in.otherHit + 1e-2) {
            return Response::Miss;
        }
        if (t >= in.otherHit - 1e-2) {
            return Response::Trace; // too close to the other hit to call
        }
        if (code == HIT_BLOCKING) {
            return Response::Block;
        }
        if (e->asColorFilter()) {
            return Response::Filter;
        }
        const bool half = dynamic_cast<MirrorHalf*>(e) != nullptr;
        const int intensity = half ? static_cast<int>(in.intensity / 1.2) : in.intensity - 2;
        if (intensity <= 0) {
            return Response::Block;
        }
        const Point normal = e->beamDirection();
        const Point& d = in.ray.direction;
        const double dot =
            double(d[0]) * normal[0] + double(d[1]) * normal[1] + double(d[2]) * normal[2];
        const double origin[3] = {p[0], p[1], p[2]};
        const double r[3] = {d[0] - 2 * dot * normal[0], d[1] - 2 * dot * normal[1],
                             d[2] - 2 * dot * normal[2]};
        for (const Sphere& sphere : reactive_) {
            if (sphere.turnable != x && rayPasses(origin, r, sphere)) {
                return Response::Trace;
            }
        }
        return half ? Response::Transmit : Response::Block;
    }

    std::vector<Response> responses(int x, const std::vector<Incoming>& incoming) const {
        std::vector<Response> list;
        for (const Incoming& in : incoming) {
            list.push_back(respond(x, in));
        }
        return list;
    }

    // Traces each candidate orientation of x and groups those that leave the light the same;
    // orientations that light a goal wrongly for good are dropped. An orientation that does to
    // every beam near x what a group's first member does joins that group without a trace (only
    // for an element whose sphere meets no other that reacts to light, so that light passing
    // through it from another point of the same line meets the same things).
    std::vector<Group> partition(int x, const std::vector<int>& candidates) {
        std::vector<Group> groups;
        const Choice saved = choices_[x];
        for (int m : candidates) {
            apply(x, m);
            const auto same = std::find_if(groups.begin(), groups.end(), [&](const Group& g) {
                return !g.responses.empty() && responses(x, g.incoming) == g.responses;
            });
            if (same != groups.end()) {
                same->members.push_back(m);
                continue;
            }
            choices_[x] = Choice{true, {m}, {}};
            trace();
            if (wrongLightIsFixed()) {
                continue;
            }
            std::vector<Key> sig = signature(x);
            auto g = std::find_if(groups.begin(), groups.end(),
                                  [&](const Group& group) { return group.signature == sig; });
            if (g != groups.end()) {
                g->members.push_back(m);
                continue;
            }
            groups.push_back(Group{{m}, knownNear(x), std::move(sig), {}, {}});
            if (isolated_[x]) {
                Group& group = groups.back();
                group.incoming = incomingNear(x);
                group.responses = responses(x, group.incoming);
                if (group.incoming.empty() ||
                    std::find(group.responses.begin(), group.responses.end(), Response::Trace) !=
                        group.responses.end()) {
                    group.responses.clear();
                }
            }
        }
        choices_[x] = saved;
        return groups;
    }

    // The next element to decide: the first, in the order of the trace and along each beam, that
    // light comes near and that has no choice yet, or whose choice was made without that light.
    int nextOpen() const {
        for (const Segment& s : segments_) {
            int best = -1;
            double bestAlong = 0;
            for (int t : s.near) {
                if (openNear(s, t)) {
                    const double a = along(s, turnables_[t]);
                    if (best < 0 || a < bestAlong) {
                        best = t;
                        bestAlong = a;
                    }
                }
            }
            if (best >= 0) {
                return best;
            }
        }
        return -1;
    }

    // Depth-first search with at most `budget` more changed elements; true when solved.
    bool search(int budget) {
        trace();
        if (solvedNow() && isLevelSolved(level_)) {
            recordSolution();
            return true;
        }
        if (wrongLightIsFixed()) {
            return false;
        }
        const int x = nextOpen();
        if (x < 0) {
            return false;
        }
        const Choice saved = choices_[x];
        const int base = saved.decided ? cost(saved.members.front()) : 0;
        std::vector<int> candidates;
        const int count = static_cast<int>(turnables_[x].orientations.size());
        for (int i = 0; i < (saved.decided ? static_cast<int>(saved.members.size()) : count); ++i) {
            const int m = saved.decided ? saved.members[i] : i;
            if (cost(m) - base <= budget) {
                candidates.push_back(m);
            } else {
                budgetCut_ = true;
            }
        }
        const std::vector<Group> groups = partition(x, candidates);
        for (const Group& g : groups) {
            choices_[x] = Choice{true, g.members, g.known};
            apply(x, g.members.front());
            if (search(budget - (cost(g.members.front()) - base))) {
                return true;
            }
        }
        choices_[x] = saved;
        apply(x, saved.decided ? saved.members.front() : 0);
        return false;
    }

    void recordSolution() {
        result_.turns.clear();
        for (std::size_t t = 0; t < turnables_.size(); ++t) {
            const Turnable& e = turnables_[t];
            const Orientation& o = e.orientations[e.applied];
            if (o.yaw != 0 || o.tilt != 0) {
                result_.turns.push_back(
                    ElementTurn{static_cast<int>(t), e.activeIndex, e.element, o.yaw, o.tilt});
            }
        }
    }

    double elapsedMs() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                         started_)
            .count();
    }

    SolveResult finish() {
        for (Turnable& t : turnables_) {
            t.holder->setLocalMatrix(t.holderLocal);
            t.frame->setLocalMatrix(t.frameLocal);
            t.applied = 0;
        }
        updateLasers(level_);
        if (result_.outcome != SolveOutcome::Solved) {
            result_.turns.clear();
        }
        result_.elapsedMs = elapsedMs();
        return result_;
    }

    Level& level_;
    const SolveOptions& options_;
    const std::chrono::steady_clock::time_point started_;
    SolveResult result_;
    std::unordered_map<const ActiveObject*, int> ids_;
    std::vector<Turnable> turnables_;
    std::vector<Choice> choices_;
    std::vector<Segment> segments_;
    std::vector<Sphere> reactive_;
    std::vector<bool> isolated_;
    std::unordered_map<const LaserBeam*, bool> changeable_;
    bool budgetCut_ = false;
};

} // namespace

std::vector<ActiveObject*> turnableElements(const Level& level) {
    std::vector<ActiveObject*> list;
    for (ActiveObject* object : level.activeObjects) {
        if (holderOf(object)) {
            list.push_back(object);
        }
    }
    return list;
}

SolveResult solve(Level& level, const SolveOptions& options) {
    return Search(level, options).run();
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
