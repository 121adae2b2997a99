#include "app/GameRules.h"

#include "elements/Goal.h"
#include "level/Level.h"

bool isLevelSolved(Level& level) {
    bool solved = true;
    for (FinshHead* goal : level.goals) {
        solved = goal->isSatisfied() && solved;
    }
    return solved;
}
