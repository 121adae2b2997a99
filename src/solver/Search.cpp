// The search over orientations: iterative deepening on the number of changed elements, a
// depth-first search that follows the light, and the grouping of an element's orientations that
// leave the light the same (see Solver.h for the whole picture).

#include "solver/Solver.h"
#include "solver/TracedLight.h"
#include "solver/Turnables.h"

#include "elements/Collector.h"
#include "elements/Goal.h"
#include "laser/LaserBeam.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "rules/GameRules.h"

#include <algorithm>
#include <chrono>
#include <unordered_map>
#include <vector>

namespace solver {

namespace {

// The choice made for a turnable element: undecided, or one or more orientations that left the
// light the same (members[0] is applied).
struct Choice {
    bool decided = false;
    std::vector<int> members;
    /// The light near the element when the members were grouped (see nearKey).
    std::vector<Key> known;
    bool open() const { return !decided || members.size() > 1; }
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
                turnables_.push_back(
                    makeTurnable(level_.activeObjects[i], holder, static_cast<int>(i), step));
            }
        }
        choices_.assign(turnables_.size(), Choice{});
        reactive_ = reactiveSpheres(level_, turnables_);
        isolated_ = isolatedTurnables(turnables_, reactive_);
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
    void apply(int t, int o) { applyOrientation(turnables_[t], o); }

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
        gatherSegments(level_, ids_, turnables_, segments_);
    }

    bool isKnown(const Segment& s, int t) const {
        const std::vector<Key>& known = choices_[t].known;
        return std::find(known.begin(), known.end(), nearKey(s, turnables_[t])) != known.end();
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
                keys.push_back(segmentKey(s, s.owner == xId, s.hit == xId));
            }
        }
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    std::vector<Key> knownNear(int x) const {
        std::vector<Key> keys;
        for (const Segment& s : segments_) {
            if (std::find(s.near.begin(), s.near.end(), x) != s.near.end()) {
                keys.push_back(nearKey(s, turnables_[x]));
            }
        }
        return keys;
    }

    std::vector<Response> responsesOf(int x, const std::vector<Incoming>& incoming) const {
        return responses(turnables_, x, incoming, reactive_);
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
                return !g.responses.empty() && responsesOf(x, g.incoming) == g.responses;
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
                group.incoming = incomingNear(level_, segments_, turnables_, x);
                group.responses = responsesOf(x, group.incoming);
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
    Ids ids_;
    std::vector<Turnable> turnables_;
    std::vector<Choice> choices_;
    std::vector<Segment> segments_;
    std::vector<Sphere> reactive_;
    std::vector<bool> isolated_;
    std::unordered_map<const LaserBeam*, bool> changeable_;
    bool budgetCut_ = false;
};

} // namespace

} // namespace solver

SolveResult solve(Level& level, const SolveOptions& options) {
    return solver::Search(level, options).run();
}
