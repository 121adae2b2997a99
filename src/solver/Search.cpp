// The search over turns and carries: iterative deepening on the moves, a depth-first search that
// follows the light, the grouping of an element's orientations that leave the light the same, and
// carries to the spots of a state's light (see Solver.h for the whole picture).

#include "solver/Carrying.h"
#include "solver/Reach.h"
#include "solver/Solver.h"
#include "solver/TracedLight.h"
#include "solver/Turnables.h"

#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Wall.h"
#include "laser/LaserBeam.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "rules/GameRules.h"
#include "rules/Placement.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cmath>
#include <map>
#include <memory>
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
    int incomingId = -1; ///< the incoming list's number in Search::incomingIds_
    /// What each orientation does to `incoming` (Search::responses_), while it is partitioned.
    std::vector<std::vector<Response>>* knownResponses = nullptr;
};

struct Stop {};

struct IncomingHash {
    std::size_t operator()(const std::vector<Incoming>& list) const {
        std::size_t h = list.size();
        for (const Incoming& in : list) {
            for (int k = 0; k < 3; ++k) {
                h = h * 31 + std::hash<float>()(in.ray.origin[k]);
                h = h * 31 + std::hash<float>()(in.ray.direction[k]);
            }
            h = h * 31 + std::hash<double>()(in.otherHit);
        }
        return h;
    }
};

struct ArrayHash {
    std::size_t operator()(const std::array<int, 3>& a) const {
        std::size_t h = 0;
        for (int v : a) {
            h = h * 1000003u ^ static_cast<std::size_t>(v);
        }
        return h;
    }
};

// The most responses kept for orientations met again.
constexpr std::size_t KEPT_RESPONSES = 300000;

// The most segments the traces kept for states met again hold together (some tens of
// megabytes); past it they are forgotten and kept anew.
constexpr std::size_t CACHED_SEGMENTS = 250000;

struct StateHash {
    std::size_t operator()(const std::vector<int>& state) const {
        std::size_t h = state.size();
        for (int v : state) {
            h = h * 1000003u ^ static_cast<std::size_t>(v);
        }
        return h;
    }
};

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
        const int n = static_cast<int>(turnables_.size());
        places_.resize(n);
        for (int t = 0; t < n; ++t) {
            turnableOf_[turnables_[t].activeIndex] = t;
        }
        reactive_ = reactiveSpheres(level_, turnables_);
        for (std::size_t r = 0; r < reactive_.size(); ++r) {
            if (reactive_[r].turnable >= 0) {
                reactiveOf_[reactive_[r].turnable] = static_cast<int>(r);
            }
        }
        carrier_ = std::make_unique<Carrier>(level_);
        cap_ = options_.maxChangedElements > 0 ? std::min(options_.maxChangedElements, n) : n;
        try {
            const Reach reach = goalsReach(level_, turnables_, options_.carry && n > 0, &needs_);
            for (std::size_t g = 0; g < needs_.size(); ++g) {
                aimsNeeded_.push_back(needs_[g].carry && !servedAsCarried(g));
            }
            if (reach != Reach::Turning && reach != Reach::Carrying) {
                result_.outcome = SolveOutcome::NoSolution;
                return finish();
            }
            // Turns alone, unless no goal can be lit without a carry.
            bool solved = reach == Reach::Turning && deepen(false, 0, cap_);
            if (solved) {
                result_.par = result_.moves;
                if (options_.findPar && options_.carry && result_.moves > 1) {
                    findPar();
                }
            } else if (options_.carry) {
                solved = deepen(true, 1, 2 * cap_);
                result_.par = solved ? result_.moves : -1;
            }
            result_.outcome = solved ? SolveOutcome::Solved : SolveOutcome::NoSolution;
        } catch (const Stop&) {
        }
        if (!options_.findPar) {
            result_.par = -1;
        }
        return finish();
    }

  private:
    // A solution by turns alone is kept; a carrying one with fewer moves gives the par and is
    // kept beside it. Out of time, the par stays unknown.
    void findPar() {
        const SolveResult turning = result_;
        try {
            const bool fewer = deepen(true, 1, turning.moves - 1);
            const int par = fewer ? result_.moves : turning.moves;
            std::vector<ElementTurn> parTurns;
            if (fewer) {
                parTurns = result_.turns;
            }
            const long long states = result_.states;
            result_ = turning;
            result_.states = states;
            result_.par = par;
            result_.parTurns = std::move(parTurns);
        } catch (const Stop&) {
            if (result_.outcome == SolveOutcome::Cancelled) {
                throw;
            }
            const long long states = result_.states;
            result_ = turning;
            result_.states = states;
            result_.par = -1;
        }
    }

    // Iterative deepening on the moves, from `first` to `most`: each round allows one move more
    // and any number of carries; a round that finds a solution is searched again with fewer
    // carries allowed, as long as it still finds one.
    bool deepen(bool carrying, int first, int most) {
        carrying_ = carrying;
        moveCost_ = static_cast<int>(turnables_.size()) + 1;
        for (int moves = first; moves <= most; ++moves) {
            if (!round(moves * moveCost_ + moveCost_ - 1)) {
                if (nextOver_ == INT_MAX) {
                    return false; // nothing was left out: more moves find nothing more
                }
                continue;
            }
            for (int carries = result_.carried() - 1; carries >= 0; --carries) {
                const SolveResult found = result_;
                if (!round(moves * moveCost_ + carries)) {
                    const long long states = result_.states;
                    result_ = found;
                    result_.states = states;
                    break;
                }
            }
            return true;
        }
        return false;
    }

    // One depth-first search with `budget` cost; true when it found a solution.
    bool round(int budget) {
        nextOver_ = INT_MAX;
        choices_.assign(turnables_.size(), Choice{});
        carried_.assign(turnables_.size(), false);
        path_.clear();
        elements_ = 0;
        return search(budget);
    }

    int placeOf(int t) const {
        const Turnable& e = turnables_[t];
        return e.orientations[e.applied].place;
    }

    void apply(int t, int o) {
        Turnable& e = turnables_[t];
        const int before = placeOf(t);
        applyOrientation(e, o);
        if (e.orientations[o].place != before) {
            Sphere& s = reactive_[reactiveOf_.at(t)];
            std::copy(e.centre, e.centre + 3, s.centre);
        }
    }

    // Moves an orientation costs: none to keep the element as it stands, one for a turn or a
    // carry, two for a carry and a turn.
    int moves(int t, int o) const {
        const Orientation& r = turnables_[t].orientations[o];
        if (r.place == 0) {
            return o == 0 ? 0 : 1;
        }
        return r.yaw == 0 && r.tilt == 0 ? 1 : 2;
    }

    // What the search spends on an orientation: its moves, and among as many moves a carry
    // costs more than a turn (a unit of cost less than any move's).
    int cost(int t, int o) const {
        return moves(t, o) * moveCost_ + (turnables_[t].orientations[o].place != 0 ? 1 : 0);
    }

    // Notes a candidate left out for costing `over` more than the budget left.
    void cut(int over) { nextOver_ = std::min(nextOver_, over); }

    int changed(int t, int o) const {
        return turnables_[t].orientations[o].place != 0 || o != 0 ? 1 : 0;
    }

    // The light of the current state: from the cache when the state was traced before, else
    // from a laser update.
    void trace() {
        if (options_.cancel && options_.cancel->load(std::memory_order_relaxed)) {
            result_.outcome = SolveOutcome::Cancelled;
            throw Stop{};
        }
        if (options_.timeLimitSeconds > 0 && (looks_++ & 63) == 0 &&
            elapsedMs() > options_.timeLimitSeconds * 1000.0) {
            result_.outcome = SolveOutcome::TimeLimit;
            throw Stop{};
        }
        state_.resize(turnables_.size());
        for (std::size_t t = 0; t < turnables_.size(); ++t) {
            state_[t] = turnables_[t].applied;
        }
        const auto known = cache_.find(state_);
        if (known != cache_.end()) {
            light_ = &known->second;
            levelTraced_ = false;
            return;
        }
        updateLasers(level_);
        ++result_.states;
        levelTraced_ = true;
        Trace traced;
        gatherTrace(level_, ids_, turnables_, traced);
        if (cachedSegments_ + traced.segments.size() > CACHED_SEGMENTS) {
            cache_.clear();
            cachedSegments_ = 0;
        }
        cachedSegments_ += traced.segments.size();
        light_ = &cache_.emplace(state_, std::move(traced)).first->second;
    }

    // Whether the state just looked at is solved, asking the goals as the game does.
    bool solvedHere() {
        if (!light_->solved) {
            return false;
        }
        if (!levelTraced_) {
            updateLasers(level_);
            ++result_.states;
            levelTraced_ = true;
        }
        return isLevelSolved(level_);
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

    // Whether t's holder may still be carried in this branch with `budget` left: a holder
    // that no light has come near yet.
    bool carriable(int t, int budget) const {
        return carrying_ && budget >= moveCost_ + 1 && !carried_[t] && !choices_[t].decided &&
               elements_ < cap_;
    }

    // Whether the light is spoilt for good, as far as `carries` (whether a holder may still be
    // carried) tells: a goal lit in a wrong colour along a path that no open choice can change,
    // nor a collector (whose colour grows with what it gathers), nor a carry into it; or a goal
    // that only a carry can light whose every line already gathers for good a colour that the
    // goal does not want and no filter takes out.
    bool lightSpoilt(bool carries) {
        if (!spoiltAlong(false)) {
            return false;
        }
        // Light that a carry can take up is not lost yet.
        return !carries || spoiltAlong(true);
    }

    bool spoiltAlong(bool carries) {
        const std::vector<Segment>& segments = light_->segments;
        changeable_.assign(segments.size(), false);
        for (std::size_t i = 0; i < segments.size(); ++i) {
            const Segment& s = segments[i];
            bool changeable = s.fromCollector || changeable_[i];
            for (int t : s.near) {
                changeable = changeable || openNear(s, t);
            }
            changeable = changeable || (carries && !usefulSpots(s, -1, *light_).empty());
            changeable_[i] = changeable;
            for (int next : s.next) {
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
        for (std::size_t g = 0; g < needs_.size(); ++g) {
            if (!needs_[g].carry || light_->goalLit[g]) {
                continue;
            }
            const int wanted = level_.goals[g]->requiredColor;
            bool open = false;
            for (const FixedLine& line : needs_[g].lines) {
                const bool collects =
                    dynamic_cast<Collector*>(level_.activeObjects[line.source]) != nullptr;
                int gathered = collects ? 0 : COLOR_WHITE;
                for (std::size_t i = 0; i < segments.size(); ++i) {
                    if (segments[i].hit == line.source && !changeable_[i]) {
                        gathered |= segments[i].colour;
                    }
                }
                open = open || (gathered & ~wanted & ~needs_[g].filterable) == 0;
            }
            if (!open) {
                return true;
            }
        }
        return false;
    }

    // Whether a holder may still be carried with `budget` left.
    bool carriesLeft(int budget) const {
        for (std::size_t t = 0; t < turnables_.size(); ++t) {
            if (carriable(static_cast<int>(t), budget)) {
                return true;
            }
        }
        return false;
    }

    // Everything about the last trace that a later choice can meet, as seen while deciding x
    // with `budget` left: the beams near open elements (x among them) and the beams into goals;
    // while a holder may still be carried, also those with spots that send light on to a goal.
    std::vector<Key> signature(int x, int budget) {
        const int xId = turnables_[x].activeIndex;
        bool carries = false;
        for (std::size_t t = 0; t < turnables_.size(); ++t) {
            carries = carries || carriable(static_cast<int>(t), budget);
        }
        std::vector<Key> keys;
        for (const Segment& s : light_->segments) {
            bool live = s.hit >= 0 && dynamic_cast<FinshHead*>(level_.activeObjects[s.hit]);
            for (int t : s.near) {
                live = live || t == x || choices_[t].open();
            }
            live = live || (carries && !usefulSpots(s, -1, *light_).empty());
            if (live) {
                keys.push_back(segmentKey(s, s.owner == xId, s.hit == xId));
            }
        }
        std::sort(keys.begin(), keys.end());
        return keys;
    }

    std::vector<Key> knownNear(int x) const {
        std::vector<Key> keys;
        for (const Segment& s : light_->segments) {
            if (std::find(s.near.begin(), s.near.end(), x) != s.near.end()) {
                keys.push_back(nearKey(s, turnables_[x]));
            }
        }
        return keys;
    }

    std::vector<Response> responsesOf(int x, const std::vector<Incoming>& incoming) const {
        return responses(turnables_, x, incoming, reactive_);
    }

    // Whether x's sphere, where it stands, meets no other that reacts to light.
    bool isolated(int x) const {
        const Turnable& e = turnables_[x];
        for (const Sphere& s : reactive_) {
            if (s.turnable == x) {
                continue;
            }
            double d2 = 0;
            for (int k = 0; k < 3; ++k) {
                d2 += (s.centre[k] - e.centre[k]) * (s.centre[k] - e.centre[k]);
            }
            const double r = s.radius + e.radius;
            if (d2 <= r * r) {
                return false;
            }
        }
        return true;
    }

    // Traces each candidate orientation of x and groups those that leave the light the same;
    // orientations that light a goal wrongly for good are dropped. An orientation that does to
    // every beam near x what a group's first member does joins that group without a trace (only
    // for an element whose sphere meets no other that reacts to light, so that light passing
    // through it from another point of the same line meets the same things).
    std::vector<Group> partition(int x, const std::vector<int>& candidates, int budget) {
        std::vector<Group> groups;
        const Choice saved = choices_[x];
        const bool alone = isolated(x);
        const bool justCarried = !saved.decided && placeOf(x) != 0;
        // What a candidate does to the beams near x that a group was made with, as worked out
        // before for the same candidate, beams and places of the holders.
        int places = 0;
        for (std::size_t t = 0; t < turnables_.size(); ++t) {
            places = places * 31 + placeOf(static_cast<int>(t));
        }
        if (keptResponses_ > KEPT_RESPONSES) {
            responses_.clear();
            keptResponses_ = 0;
        }
        int m = -1;
        bool applied = false;
        const auto answer = [&](const Group& g) -> const std::vector<Response>& {
            std::vector<std::vector<Response>>& row = *g.knownResponses;
            if (row.size() <= static_cast<std::size_t>(m)) {
                row.resize(
                    std::max(static_cast<std::size_t>(m) + 1, turnables_[x].orientations.size()));
            }
            std::vector<Response>& known = row[m];
            if (known.empty()) {
                if (!applied) {
                    apply(x, m);
                    applied = true;
                }
                known = responsesOf(x, g.incoming);
                ++keptResponses_;
            }
            return known;
        };
        // Groups whose light ends the branch: only for telling later candidates by what they do.
        std::vector<Group> dead;
        const auto respondsAs = [&](std::vector<Group>& list) {
            return std::find_if(list.begin(), list.end(), [&](const Group& g) {
                return !g.responses.empty() && answer(g) == g.responses;
            });
        };
        for (int candidate : candidates) {
            m = candidate;
            applied = false;
            // Just carried, it must send the light on: orientations that reflect it towards
            // nothing leave the light as the carry found it.
            if (justCarried && !mayReflectOn(turnables_, x, m, light_->segments, reactive_)) {
                continue;
            }
            const auto same = respondsAs(groups);
            if (same != groups.end()) {
                same->members.push_back(m);
                continue;
            }
            if (respondsAs(dead) != dead.end()) {
                continue;
            }
            if (!applied) {
                apply(x, m);
            }
            choices_[x] = Choice{true, {m}, {}};
            trace();
            const bool ends =
                lightSpoilt(carriesLeft(budget - cost(x, m))) || (justCarried && !sendsOn(x));
            std::vector<Key> sig;
            if (!ends) {
                sig = signature(x, budget - cost(x, m));
                auto g = std::find_if(groups.begin(), groups.end(),
                                      [&](const Group& group) { return group.signature == sig; });
                if (g != groups.end()) {
                    g->members.push_back(m);
                    continue;
                }
            }
            std::vector<Group>& list = ends ? dead : groups;
            list.push_back(
                Group{{m}, ends ? std::vector<Key>{} : knownNear(x), std::move(sig), {}, {}});
            if (alone) {
                Group& group = list.back();
                group.incoming = incomingNear(level_, light_->segments, turnables_, x);
                group.incomingId =
                    incomingIds_.emplace(group.incoming, static_cast<int>(incomingIds_.size()))
                        .first->second;
                group.knownResponses = &responses_[{x, group.incomingId, places}];
                group.responses = responsesOf(x, group.incoming);
                if (group.incoming.empty() ||
                    std::find(group.responses.begin(), group.responses.end(), Response::Trace) !=
                        group.responses.end()) {
                    group.responses.clear();
                }
                if (ends && group.responses.empty()) {
                    list.pop_back();
                }
            }
        }
        choices_[x] = saved;
        return groups;
    }

    // The next element to decide: the first, in the order of the trace and along each beam, that
    // light comes near and that has no choice yet, or whose choice was made without that light.
    int nextOpen() const {
        for (const Segment& s : light_->segments) {
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

    // Depth-first search with at most `budget` more cost; true when solved.
    bool search(int budget) {
        trace();
        if (solvedHere()) {
            recordSolution();
            return true;
        }
        if (lightSpoilt(carriesLeft(budget))) {
            return false;
        }
        // Searching carries, no turns alone solve the level with as few moves: a branch without
        // a carry yet needs one, and a goal that only a carry can light may need its own.
        const int needed =
            carrying_ ? std::max(carryNeeded(), carriedAny() ? 0 : moveCost_ + 1) : 0;
        if (budget < needed) {
            cut(needed - budget);
            return false;
        }
        const int x = nextOpen();
        if (x < 0) {
            return carrying_ && carry(budget);
        }
        const Turnable& t = turnables_[x];
        const Choice saved = choices_[x];
        const int applied = t.applied;
        const Place& place = t.places[placeOf(x)];
        const int base = saved.decided ? cost(x, saved.members.front()) : cost(x, place.first);
        const int baseChanged =
            saved.decided ? changed(x, saved.members.front()) : changed(x, place.first);
        std::vector<int> candidates;
        const int count = saved.decided ? static_cast<int>(saved.members.size()) : place.count;
        for (int i = 0; i < count; ++i) {
            const int m = saved.decided ? saved.members[i] : place.first + i;
            if (elements_ + changed(x, m) - baseChanged > cap_) {
                continue;
            }
            if (cost(x, m) - base <= budget) {
                candidates.push_back(m);
            } else {
                cut(cost(x, m) - base - budget);
            }
        }
        const std::vector<Group> groups = partition(x, candidates, budget + base);
        if (!saved.decided) {
            path_.push_back(x);
        }
        for (const Group& g : groups) {
            const int m = g.members.front();
            choices_[x] = Choice{true, g.members, g.known};
            apply(x, m);
            elements_ += changed(x, m) - baseChanged;
            const bool solved = search(budget - (cost(x, m) - base));
            elements_ -= changed(x, m) - baseChanged;
            if (solved) {
                return true;
            }
        }
        if (!saved.decided) {
            path_.pop_back();
        }
        choices_[x] = saved;
        apply(x, saved.decided ? saved.members.front() : applied);
        return false;
    }

    // What the goals that only a carry can light still need: nothing when each is lit or a
    // carried holder stands on a line from which it could take the goal's light up; else a carry,
    // with a turn when no holder could aim at the goal as the carry leaves it.
    int carryNeeded() const {
        int needed = 0;
        for (std::size_t g = 0; g < needs_.size(); ++g) {
            if (!needs_[g].carry || light_->goalLit[g]) {
                continue;
            }
            bool served = false;
            for (const FixedLine& line : needs_[g].lines) {
                const Segment s = segmentOf(line);
                for (std::size_t t = 0; t < turnables_.size() && !served; ++t) {
                    served = placeOf(static_cast<int>(t)) != 0 && along(s, turnables_[t]) >= 0;
                }
            }
            if (!served) {
                needed = std::max(needed, moveCost_ * (aimsNeeded_[g] ? 2 : 1) + 1);
            }
        }
        return needed;
    }

    bool carriedAny() const {
        return std::find(carried_.begin(), carried_.end(), true) != carried_.end();
    }

    static Segment segmentOf(const FixedLine& line) {
        Segment s{};
        std::copy(line.start, line.start + 3, s.start);
        std::copy(line.dir, line.dir + 3, s.dir);
        s.length = line.length;
        s.owner = line.source;
        s.hit = line.end;
        return s;
    }

    // Whether some holder, carried onto a spot of one of goal g's lines and left as the carry
    // leaves it, could send the line's light at the goal.
    bool servedAsCarried(std::size_t g) {
        const Point goal = level_.goals[g]->getBoundingCenter();
        const double radius = level_.goals[g]->getBoundingRadius() + 1.0;
        bool served = false;
        for (const FixedLine& line : needs_[g].lines) {
            for (const CarrySpot& spot : carrier_->spotsOf(segmentOf(line))) {
                for (Turnable& t : turnables_) {
                    if (t.element->asColorFilter()) {
                        continue;
                    }
                    carryHolder(*t.holder, t.holderLocal, spot.spot);
                    t.frame->setLocalMatrix(t.frameLocal);
                    const Matrix& w = t.element->refreshedWorldMatrix();
                    double n[3] = {w[8], w[9], w[10]};
                    const double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
                    const double facing =
                        (n[0] * line.dir[0] + n[1] * line.dir[1] + n[2] * line.dir[2]) / l;
                    double along = 0, p[3], out[3], to[3], ahead = 0, d2 = 0;
                    for (int k = 0; k < 3; ++k) {
                        n[k] /= l;
                        along += (w[12 + k] - line.start[k]) * n[k];
                    }
                    along = std::fabs(facing) < 1e-9 ? -1 : along / facing;
                    for (int k = 0; k < 3; ++k) {
                        p[k] = line.start[k] + along * line.dir[k];
                        out[k] = line.dir[k] - 2 * facing * n[k];
                        to[k] = goal[k] - p[k];
                        ahead += to[k] * out[k];
                    }
                    for (int k = 0; k < 3; ++k) {
                        d2 += (to[k] - ahead * out[k]) * (to[k] - ahead * out[k]);
                    }
                    served = served || (along >= 0 && ahead > 0 && d2 <= radius * radius);
                    t.holder->setLocalMatrix(t.holderLocal);
                    t.applied = -1;
                    applyOrientation(t, 0);
                }
            }
        }
        return served;
    }

    // Whether the light that x sends meets a goal, a collector or an element no light met
    // before: what a carry is for.
    bool sendsOn(int x) const {
        const int id = turnables_[x].activeIndex;
        for (const Segment& s : light_->segments) {
            if (s.owner != id || s.hit < 0) {
                continue;
            }
            ActiveObject* hit = level_.activeObjects[s.hit];
            if (dynamic_cast<FinshHead*>(hit) || dynamic_cast<Collector*>(hit)) {
                return true;
            }
            const auto t = turnableOf_.find(s.hit);
            if (t != turnableOf_.end() && !choices_[t->second].decided) {
                return true;
            }
        }
        return false;
    }

    // The spots of segment s (unless holder `skip`'s element sends it) from which a holder
    // (of `skip`, when it is a filter, filtering the light) sends light on to a goal.
    std::vector<CarrySpot> usefulSpots(const Segment& s, int skip, const Trace& light) {
        std::vector<CarrySpot> useful;
        const ColorFilter* filter = skip >= 0 ? turnables_[skip].element->asColorFilter() : nullptr;
        if (skip >= 0 && s.owner == turnables_[skip].activeIndex) {
            return useful;
        }
        for (const CarrySpot& spot : carrier_->spotsOf(s)) {
            if (filter && spot.beamEnds) {
                continue; // it would pass the light on into the wall behind it
            }
            const int colour = filter ? spot.colour & filter->colorCode : spot.colour;
            if (carrier_->sendsOn(spot, colour, light.goalLit, turnables_)) {
                useful.push_back(spot);
            }
        }
        return useful;
    }

    // The place of a carry of t to the spot, made once: the holder set down as the game does,
    // its aims at the elements in sight and the grid.
    int placeFor(int t, const CarrySpot& spot) {
        std::array<long long, 12> key;
        for (int k = 0; k < 3; ++k) {
            key[k] = std::llround(spot.spot.point[k] * 100);
            key[3 + k] = std::llround(spot.spot.normal[k] * 1000);
            key[6 + k] = std::llround(spot.beam.origin[k] * 100);
            key[9 + k] = std::llround(spot.beam.direction[k] * 1e5);
        }
        const auto known = places_[t].find(key);
        if (known != places_[t].end()) {
            return known->second;
        }
        Turnable& e = turnables_[t];
        const int applied = e.applied;
        carryHolder(*e.holder, e.holderLocal, spot.spot);
        e.frame->setLocalMatrix(e.frameLocal);
        const Matrix placed = e.holder->localMatrix;
        const std::vector<Orientation> aims = carrier_->aimsFrom(*e.element, e.frameLocal, spot);
        const int place = addPlace(e, placed, spot.spot, aims, options_.stepDegrees);
        e.applied = -1;
        applyOrientation(e, applied);
        places_[t][key] = place;
        return place;
    }

    // Where no undecided element is near the light: carries a holder into it, each that may
    // still be carried to each spot of this state's light (traced without the holder) that sends
    // light on to a goal.
    bool carry(int budget) {
        const int n = static_cast<int>(turnables_.size());
        const Trace leaf = *light_;
        std::vector<int> holders;
        for (int t = 0; t < n; ++t) {
            if (!carried_[t] && !choices_[t].decided && elements_ < cap_) {
                holders.push_back(t);
            }
        }
        if (holders.empty()) {
            return false;
        }
        if (budget < moveCost_ + 1) {
            cut(moveCost_ + 1 - budget);
            return false;
        }
        for (int t : holders) {
            Turnable& e = turnables_[t];
            std::vector<CarrySpot> spots;
            for (const Segment& s : leaf.segments) {
                for (const CarrySpot& spot : usefulSpots(s, t, leaf)) {
                    if (!nearSpot(spots, spot.spot)) {
                        spots.push_back(spot);
                    }
                }
            }
            for (const CarrySpot& spot : spots) {
                const int place = placeFor(t, spot);
                const Choice saved = choices_[t];
                const int applied = e.applied;
                apply(t, e.places[place].first);
                if (placementBlocker(level_, e.element)) {
                    apply(t, applied);
                    continue;
                }
                choices_[t] = Choice{};
                carried_[t] = true;
                ++elements_;
                const bool solved = search(budget - moveCost_ - 1);
                --elements_;
                carried_[t] = false;
                if (solved) {
                    return true;
                }
                choices_[t] = saved;
                apply(t, applied);
            }
        }
        return false;
    }

    static bool nearSpot(const std::vector<CarrySpot>& spots, const Spot& spot) {
        for (const CarrySpot& s : spots) {
            double d2 = 0, along = 0;
            for (int k = 0; k < 3; ++k) {
                d2 += (s.spot.point[k] - spot.point[k]) * (s.spot.point[k] - spot.point[k]);
                along += s.spot.normal[k] * spot.normal[k];
            }
            if (d2 < 1 && along > 0.99) {
                return true;
            }
        }
        return false;
    }

    void recordSolution() {
        result_.turns.clear();
        result_.moves = 0;
        std::vector<int> order = path_;
        for (int t = 0; t < static_cast<int>(turnables_.size()); ++t) {
            if (std::find(order.begin(), order.end(), t) == order.end()) {
                order.push_back(t);
            }
        }
        for (int t : order) {
            Turnable& e = turnables_[t];
            const Orientation& o = e.orientations[e.applied];
            if (o.place == 0 && o.yaw == 0 && o.tilt == 0) {
                continue;
            }
            ElementTurn turn{t, e.activeIndex, e.element, o.yaw, o.tilt, {}};
            if (o.place != 0) {
                const Place& place = e.places[o.place];
                Carry& c = turn.carry;
                c.carried = true;
                for (int k = 0; k < 3; ++k) {
                    c.point[k] = static_cast<float>(place.spot.point[k]);
                    c.normal[k] = static_cast<float>(place.spot.normal[k]);
                }
                c.wall = place.spot.wall;
                c.holder = place.holderLocal;
                const Pose now = poseOf(e.holder->refreshedWorldMatrix(), e.frame->localMatrix);
                c.heading = now.heading;
                c.tilt = now.tilt;
                c.place = describeSpot(level_, place.spot, e.element);
            }
            result_.moves += turn.moves();
            result_.turns.push_back(turn);
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
            result_.moves = 0;
            result_.par = -1;
        }
        if (result_.par < 0) {
            result_.parTurns.clear();
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
    /// The places made for each turnable, by spot and beam.
    std::vector<std::map<std::array<long long, 12>, int>> places_;
    std::vector<Choice> choices_;
    /// Whether each holder was carried on the way to the current state.
    std::vector<bool> carried_;
    /// The turnables in the order they were first decided on the way to the current state.
    std::vector<int> path_;
    int elements_ = 0; ///< elements changed on the way to the current state
    int cap_ = 0;      ///< the most elements a solution may change
    bool carrying_ = false;
    /// The traces of the states met, by each turnable's applied orientation.
    std::unordered_map<std::vector<int>, Trace, StateHash> cache_;
    std::size_t cachedSegments_ = 0;
    std::vector<int> state_; ///< the key of the state looked at last
    long long looks_ = 0;
    /// The light of the state looked at last (in cache_: valid until the next trace()).
    const Trace* light_ = nullptr;
    /// Whether the level's own beams are those of light_.
    bool levelTraced_ = false;
    std::vector<Sphere> reactive_;
    std::unordered_map<int, int> reactiveOf_;
    std::unordered_map<int, int> turnableOf_; ///< turnable by id
    /// For each of level.goals, what it needs that turns cannot give.
    std::vector<GoalNeeds> needs_;
    /// For each of level.goals that only a carry can light, whether the carried holder must be
    /// turned too.
    std::vector<bool> aimsNeeded_;
    std::unique_ptr<Carrier> carrier_;
    /// Every list of beams near an element met, numbered.
    std::unordered_map<std::vector<Incoming>, int, IncomingHash> incomingIds_;
    /// What each orientation of an element does to a numbered list of beams (empty where not
    /// worked out yet): by element, list and the places of the holders, then by orientation.
    std::unordered_map<std::array<int, 3>, std::vector<std::vector<Response>>, ArrayHash>
        responses_;
    std::size_t keptResponses_ = 0; ///< the responses held in responses_
    std::vector<bool> changeable_;
    int moveCost_ = 1; ///< the cost of a move (more than any number of carries)
    int nextOver_ = 0; ///< the least a candidate was over the budget by, in this round
};

} // namespace

} // namespace solver

SolveResult solve(Level& level, const SolveOptions& options) {
    return solver::Search(level, options).run();
}
