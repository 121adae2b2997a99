#include "solver/Hint.h"
#include "solver/Turnables.h"

#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

std::string elementClassName(const ActiveObject& element) {
    if (dynamic_cast<const MirrorHalf*>(&element)) {
        return "MirrorHalf";
    }
    if (dynamic_cast<const Mirror*>(&element)) {
        return "Mirror";
    }
    if (dynamic_cast<const ColorFilter*>(&element)) {
        return "ColorFilter";
    }
    return "Element";
}

namespace {

// Whether two holders stand in the same place with their y axes the same way.
bool samePlace(Holder& a, Holder& b) {
    const Matrix& p = a.refreshedWorldMatrix();
    const Matrix& q = b.refreshedWorldMatrix();
    double apart = 0, along = 0, pp = 0, qq = 0;
    for (int k = 0; k < 3; ++k) {
        apart += (p[12 + k] - q[12 + k]) * double(p[12 + k] - q[12 + k]);
        along += p[4 + k] * double(q[4 + k]);
        pp += p[4 + k] * double(p[4 + k]);
        qq += q[4 + k] * double(q[4 + k]);
    }
    return apart < 1e-4 && along > (1.0 - 1e-6) * std::sqrt(pp * qq);
}

// Why nothing solves `now`, found from `shipped` in what is left of the time.
NoHint whyNothingSolves(Level& now, Level& shipped, SolveOptions options, double spentMs) {
    const std::vector<ActiveObject*> here = turnableElements(now);
    const std::vector<ActiveObject*> there = turnableElements(shipped);
    if (here.size() != there.size()) {
        return NoHint::FromHere;
    }
    bool triedThere = options.maxChangedElements <= 0;
    for (std::size_t i = 0; i < here.size(); ++i) {
        Holder* a = solver::holderOf(here[i]);
        Holder* b = solver::holderOf(there[i]);
        const int step = options.stepDegrees;
        triedThere = triedThere && samePlace(*a, *b) &&
                     solver::searchesPose(solver::makeTurnable(here[i], a, -1, step).pose,
                                          solver::makeTurnable(there[i], b, -1, step).pose, step);
    }
    const NoHint none = options.carry ? NoHint::NoWay : NoHint::CarryAHolder;
    if (triedThere) {
        return none;
    }
    options.findPar = false;
    if (options.timeLimitSeconds > 0) {
        options.timeLimitSeconds -= spentMs / 1000.0;
        if (options.timeLimitSeconds <= 0) {
            return NoHint::FromHere;
        }
    }
    switch (solve(shipped, options).outcome) {
    case SolveOutcome::Solved:
        return NoHint::RestoreLevel;
    case SolveOutcome::NoSolution:
        return none;
    default:
        return NoHint::FromHere;
    }
}

std::string spokenName(const std::string& className) {
    return className == "MirrorHalf"    ? "HALF MIRROR"
           : className == "ColorFilter" ? "FILTER"
           : className == "Mirror"      ? "MIRROR"
                                        : "ELEMENT";
}

// "29 DEGREES", "1 DEGREE", or "A LITTLE" under half a degree.
std::string spokenAmount(double degrees) {
    const long whole = std::lround(std::fabs(degrees));
    return whole == 0 ? "A LITTLE" : whole == 1 ? "1 DEGREE" : std::to_string(whole) + " DEGREES";
}

// Degrees for the console, to a thousandth and without trailing zeros.
std::string consoleDegrees(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", degrees);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.') {
        s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

// "30 DEGREES LEFT", "15 DEGREES UP": a turn about the holder's axis, or a tilt.
std::string spokenTurn(double degrees, bool tilt) {
    const char* way = tilt ? (degrees > 0 ? " UP" : " DOWN") : (degrees > 0 ? " RIGHT" : " LEFT");
    return spokenAmount(degrees) + way;
}

Hint noHint(NoHint reason) {
    switch (reason) {
    case NoHint::OutOfTime:
        return {false, "NO HINT FOUND IN TIME", "", "Hint: none found within the time limit"};
    case NoHint::RestoreLevel:
        return {false, "NO HINT FROM HERE - R RESTORES THE LEVEL", "",
                "Hint: nothing solves the level from here, but it can be solved from its start; "
                "R restores it"};
    case NoHint::CarryAHolder:
        return {false, "NO HINT BY TURNING - CARRY A HOLDER", "",
                "Hint: no turns solve the level, here or from its start: a holder must be "
                "carried"};
    case NoHint::NoWay:
        return {false, "NO HINT - THE SOLVER FINDS NO WAY", "",
                "Hint: no turns or carries solve the level, here or from its start"};
    default:
        return {false, "NO HINT FROM HERE - TRY RESTARTING", "", "Hint: none from here"};
    }
}

} // namespace

std::string spokenName(const ActiveObject& element) {
    if (dynamic_cast<const Emitter*>(&element)) {
        return "LASER";
    }
    if (dynamic_cast<const Collector*>(&element)) {
        return "COLLECTOR";
    }
    if (dynamic_cast<const FinshHead*>(&element)) {
        return "GOAL";
    }
    return spokenName(elementClassName(element));
}

std::string describeChange(const ElementTurn& turn) {
    const std::string element =
        spokenName(*turn.element) + " " + std::to_string(turn.activeIndex + 1);
    std::vector<std::pair<std::string, std::string>> steps; // what to do, how far
    if (turn.yawDegrees != 0) {
        steps.emplace_back("TURN", spokenTurn(turn.yawDegrees, false));
    }
    if (turn.tiltDegrees != 0) {
        steps.emplace_back("TILT", spokenTurn(turn.tiltDegrees, true));
    }
    std::string said;
    if (turn.carry.carried) {
        said = "CARRY " + element + " " + turn.carry.place;
    } else if (!steps.empty()) {
        said = steps.front().first + " " + element + " " + steps.front().second;
        steps.erase(steps.begin());
    } else {
        said = "LEAVE " + element;
    }
    for (const auto& [what, howFar] : steps) {
        said += ", " + what + " " + howFar;
    }
    return said;
}

HintSearch findHint(Level& now, Level& shipped, const SolveOptions& options) {
    const auto started = std::chrono::steady_clock::now();
    HintSearch search{solve(now, options), NoHint::None};
    if (search.result.outcome == SolveOutcome::NoSolution) {
        const double spentMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
                .count();
        search.reason = whyNothingSolves(now, shipped, options, spentMs);
    } else if (search.result.outcome != SolveOutcome::Solved) {
        search.reason = NoHint::OutOfTime;
    }
    return search;
}

Hint describeHint(const HintSearch& search) {
    const SolveResult& result = search.result;
    if (result.outcome != SolveOutcome::Solved) {
        return noHint(search.reason == NoHint::None ? NoHint::FromHere : search.reason);
    }
    if (result.turns.empty()) {
        return {false, "ALL SET - SWITCH THE LASER ON", "", "Hint: nothing to change"};
    }
    const ElementTurn& turn = result.turns.front();
    const std::string name = elementClassName(*turn.element);
    const std::string element = name + " " + std::to_string(turn.activeIndex + 1);
    Hint hint;
    hint.helps = true;
    if (turn.carry.carried) {
        const Carry& c = turn.carry;
        hint.message = "CARRY THIS " + spokenName(name);
        hint.detail = c.place;
        std::string place = c.place;
        for (char& ch : place) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        hint.console = "Hint: carry " + element + " " + place + ", to " +
                       consoleDegrees(c.point[0]) + " " + consoleDegrees(c.point[1]) + " " +
                       consoleDegrees(c.point[2]) + "; there it faces heading " +
                       consoleDegrees(c.heading) + ", tilt " + consoleDegrees(c.tilt);
        return hint;
    }
    if (turn.yawDegrees != 0 && (std::fabs(turn.yawDegrees) >= 0.5 || turn.tiltDegrees == 0)) {
        hint.message = "TURN THIS " + spokenName(name) + " " + spokenAmount(turn.yawDegrees) +
                       (turn.yawDegrees > 0 ? " RIGHT" : " LEFT");
        hint.console = "Hint: turn " + element + " by " + consoleDegrees(turn.yawDegrees) +
                       " degrees about its holder's axis";
    } else {
        hint.message = "TILT THIS " + spokenName(name) + " " + spokenAmount(turn.tiltDegrees) +
                       (turn.tiltDegrees > 0 ? " UP" : " DOWN");
        hint.console =
            "Hint: tilt " + element + " by " + consoleDegrees(turn.tiltDegrees) + " degrees";
    }
    return hint;
}
