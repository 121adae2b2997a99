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

bool latchSolved(bool solvedNow, bool& levelSolved) {
    if (solvedNow && !levelSolved) {
        levelSolved = true;
        return true;
    }
    return false;
}

bool drainEnergy(GameSettings& settings, double& energy, double frameTime) {
    if (settings.laserPower && energy > 0) {
        energy -= frameTime;
        return true;
    }
    settings.laserPower = false;
    return false;
}

bool latchGameOver(bool solvedNow, double energy, bool& gameOver) {
    if (energy <= 0 && !solvedNow && !gameOver) {
        gameOver = true;
        return true;
    }
    return false;
}
