#include "rules/GameRules.h"

#include <gtest/gtest.h>

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
}

TEST(Latches, SolvedAndGameOverLatchOnceInTheFrameTheyHappen) {
    struct Case {
        bool solvedNow;
        double energy;
        bool latched; ///< the latch is true afterwards
        bool now;     ///< this frame latched it
    };
    // Game over: not while solved now, nor with energy left, and once only.
    bool over = false;
    for (const Case& c : {Case{true, 0.0, false, false}, Case{false, 0.001, false, false},
                          Case{false, -0.02, true, true}, Case{false, -0.02, true, false}}) {
        EXPECT_EQ(latchGameOver(c.solvedNow, c.energy, over), c.now) << c.solvedNow << c.energy;
        EXPECT_EQ(over, c.latched);
    }
    // Solved: latched the first time, and it stays when the level is no longer solved.
    bool solved = false;
    for (const Case& c : {Case{false, 0, false, false}, Case{true, 0, true, true},
                          Case{true, 0, true, false}, Case{false, 0, true, false}}) {
        EXPECT_EQ(latchSolved(c.solvedNow, solved), c.now) << c.solvedNow;
        EXPECT_EQ(solved, c.latched);
    }
}
