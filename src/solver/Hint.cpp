#include "solver/Hint.h"

#include "elements/ColorFilter.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"

#include <cstdlib>

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

std::string spokenName(const std::string& className) {
    return className == "MirrorHalf"    ? "HALF MIRROR"
           : className == "ColorFilter" ? "FILTER"
           : className == "Mirror"      ? "MIRROR"
                                        : "ELEMENT";
}

} // namespace

Hint describeHint(const SolveResult& result) {
    Hint hint;
    if (result.outcome != SolveOutcome::Solved) {
        hint.message = "NO HINT FROM HERE - TRY RESTARTING";
        hint.console = "Hint: none from here";
        return hint;
    }
    if (result.turns.empty()) {
        hint.message = "ALL SET - SWITCH THE LASER ON";
        hint.console = "Hint: nothing to turn";
        return hint;
    }
    const ElementTurn& turn = result.turns.front();
    const std::string name = elementClassName(*turn.element);
    const std::string element = name + " " + std::to_string(turn.activeIndex + 1);
    hint.helps = true;
    if (turn.yawDegrees != 0) {
        hint.message = "TURN THIS " + spokenName(name) + " " +
                       std::to_string(std::abs(turn.yawDegrees)) + " DEGREES " +
                       (turn.yawDegrees > 0 ? "RIGHT" : "LEFT");
        hint.console = "Hint: turn " + element + " by " + std::to_string(turn.yawDegrees) +
                       " degrees about the vertical";
    } else {
        hint.message = "TILT THIS " + spokenName(name) + " " +
                       std::to_string(std::abs(turn.tiltDegrees)) + " DEGREES " +
                       (turn.tiltDegrees > 0 ? "UP" : "DOWN");
        hint.console =
            "Hint: tilt " + element + " by " + std::to_string(turn.tiltDegrees) + " degrees";
    }
    return hint;
}
