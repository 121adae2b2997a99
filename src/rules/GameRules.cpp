#include "rules/GameRules.h"

#include "elements/Goal.h"
#include "level/Level.h"

bool isLevelSolved(Level& level) {
    return countOpenGoals(level).allOpen();
}

GoalCount countOpenGoals(Level& level) {
    GoalCount count;
    for (FinshHead* goal : level.goals) {
        count.open += goal->isSatisfied();
        ++count.total;
    }
    return count;
}

SolvedChange followSolved(bool solvedNow, bool& levelSolved) {
    if (solvedNow == levelSolved) {
        return SolvedChange::None;
    }
    levelSolved = solvedNow;
    return solvedNow ? SolvedChange::Solved : SolvedChange::Reopened;
}

bool drainEnergy(GameSettings& settings, double& energy, double frameTime) {
    if (settings.laserPower && energy > 0) {
        energy -= settings.relaxedEnergy ? 0 : frameTime;
        return true;
    }
    settings.laserPower = false;
    return false;
}

bool latchGameOver(double energy, bool& gameOver) {
    if (energy <= 0 && !gameOver) {
        gameOver = true;
        return true;
    }
    return false;
}
