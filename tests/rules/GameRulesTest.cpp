#include "rules/GameRules.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(Energy, DrainsOnlyWhilePoweredAndTheLastFrameMayOvershootBeforeThePowerGoesOff) {
    GameSettings s;
    double energy = 0.01;
    EXPECT_FALSE(drainEnergy(s, energy, 0.5));
    EXPECT_EQ(energy, 0.01);
    s.laserPower = true;
    EXPECT_TRUE(drainEnergy(s, energy, 0.03)); // the energy before the frame counts
    EXPECT_DOUBLE_EQ(energy, 0.01 - 0.03);
    EXPECT_TRUE(s.laserPower);
    EXPECT_FALSE(drainEnergy(s, energy, 0.03));
    EXPECT_FALSE(s.laserPower);
    EXPECT_LT(energy, 0);
    // Relaxed, the power runs and nothing drains.
    s.laserPower = s.relaxedEnergy = true;
    energy = 1;
    EXPECT_TRUE(drainEnergy(s, energy, 0.5));
    EXPECT_EQ(energy, 1);
}

TEST(Latches, GameOverLatchesOnceWhenTheEnergyIsOutAndSolvedFollowsTheGoals) {
    // Game over: not with energy left, then once, solved level or not.
    bool over = false;
    for (const auto& [energy, latched, now] :
         {std::tuple{0.001, false, false}, {-0.02, true, true}, {-0.02, true, false}}) {
        EXPECT_EQ(latchGameOver(energy, over), now) << energy;
        EXPECT_EQ(over, latched);
    }
    // Solved comes and goes with the goals (an undo reopens it), and each change is told once.
    bool solved = false;
    using C = SolvedChange;
    for (const auto& [now, change] : {std::pair{false, C::None},
                                      {true, C::Solved},
                                      {true, C::None},
                                      {false, C::Reopened},
                                      {false, C::None},
                                      {true, C::Solved}}) {
        EXPECT_EQ(followSolved(now, solved), change) << now;
        EXPECT_EQ(solved, now);
    }
}
