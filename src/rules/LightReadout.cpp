#include "rules/LightReadout.h"

#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "elements/Wall.h"
#include "laser/LaserBeam.h"
#include "level/Level.h"
#include "rules/ColourLabels.h"

#include <algorithm>
#include <set>
#include <typeinfo>

namespace {

// The goal a hit on the object means: the goal's head, or its door or body under it.
const FinshHead* goalOf(const ActiveObject* object) {
    for (const Renderable* r = object; r != nullptr; r = r->hasParent ? r->parent : nullptr) {
        if (const auto* goal = dynamic_cast<const FinshHead*>(r)) {
            return goal;
        }
    }
    return nullptr;
}

template <class Kind> int numberAmong(const Level& level, const ActiveObject& element) {
    int number = 0;
    for (const ActiveObject* object : level.activeObjects) {
        if (typeid(*object) == typeid(Kind)) {
            ++number;
        }
        if (object == &element) {
            return number;
        }
    }
    return 0;
}

} // namespace

std::string elementName(const Level& level, const ActiveObject& element) {
    const auto numbered = [&](const char* kind, int number) {
        return std::string(kind) + " " + std::to_string(number);
    };
    if (dynamic_cast<const MirrorHalf*>(&element)) {
        return numbered("HALF MIRROR", numberAmong<MirrorHalf>(level, element));
    }
    if (dynamic_cast<const Mirror*>(&element)) {
        return numbered("MIRROR", numberAmong<Mirror>(level, element));
    }
    if (dynamic_cast<const ColorFilter*>(&element)) {
        return numbered("FILTER", numberAmong<ColorFilter>(level, element));
    }
    if (dynamic_cast<const Collector*>(&element)) {
        return numbered("COLLECTOR", numberAmong<Collector>(level, element));
    }
    if (const FinshHead* goal = goalOf(&element)) {
        const auto at = std::find(level.goals.begin(), level.goals.end(), goal);
        return numbered("GOAL", static_cast<int>(at - level.goals.begin()) + 1);
    }
    if (dynamic_cast<const Emitter*>(&element)) {
        return "LASER";
    }
    if (dynamic_cast<const Wall*>(&element)) {
        return "WALL";
    }
    if (dynamic_cast<const Holder*>(&element) || dynamic_cast<const HolderFrame*>(&element)) {
        return "HOLDER";
    }
    return "";
}

std::string whereTheLightGoes(const Level& level, const ActiveObject& element) {
    const std::vector<LaserBeam*>& beams = level.laserBeams;
    // Segments that continue one of the same element past a filter's plane are part of it
    // (the beams an element sends on are its incoming beam's next segments too).
    std::set<const LaserBeam*> continuations;
    for (const LaserBeam* beam : beams) {
        for (const LaserBeam* next : beam->nextSegments) {
            if (next->owner == beam->owner) {
                continuations.insert(next);
            }
        }
    }
    std::string text;
    for (const LaserBeam* beam : beams) {
        if (beam->owner != &element || continuations.count(beam) != 0) {
            continue;
        }
        while (beam->hitObject == nullptr && !beam->nextSegments.empty() &&
               beam->nextSegments.front()->owner == beam->owner) {
            beam = beam->nextSegments.front();
        }
        std::string part = "-> NOTHING";
        if (beam->hitObject != nullptr) {
            part = "-> " + elementName(level, *beam->hitObject);
            if (const FinshHead* goal = goalOf(beam->hitObject)) {
                part += ", WANTS " + colourName(goal->requiredColor) + ", GETS " +
                        colourName(beam->colorCode);
            }
        }
        text += (text.empty() ? "" : " / ") + part;
    }
    return text.empty() ? "NO LIGHT ON IT" : text;
}
