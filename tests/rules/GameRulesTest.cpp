#include "rules/GameRules.h"

#include <gtest/gtest.h>

TEST(Energy, DrainsOnlyWhilePowered) {
    GameSettings s;
    double energy = ENERGY_CAPACITY;
    for (int frame = 0; frame < 100; ++frame) {
        EXPECT_FALSE(drainEnergy(s, energy, 0.01));
    }
    EXPECT_EQ(energy, ENERGY_CAPACITY);
    s.laserPower = true;
    EXPECT_TRUE(drainEnergy(s, energy, 0.5));
    EXPECT_DOUBLE_EQ(energy, ENERGY_CAPACITY - 0.5);
}

TEST(Energy, LastPoweredFrameMayOvershootThenPowerGoesOff) {
    GameSettings s;
    s.laserPower = true;
    double energy = 0.01;
    EXPECT_TRUE(drainEnergy(s, energy, 0.03)); // the energy before the frame counts
    EXPECT_LT(energy, 0);
    EXPECT_TRUE(s.laserPower);
    EXPECT_FALSE(drainEnergy(s, energy, 0.03));
    EXPECT_FALSE(s.laserPower);
    EXPECT_LT(energy, 0);
}

TEST(Energy, ThreeHundredSecondsInSpellsEndTheGame) {
    GameSettings s;
    double energy = ENERGY_CAPACITY;
    bool over = false;
    int powered = 0;
    for (int spell = 0; spell < 4; ++spell) {
        s.laserPower = true;
        for (int frame = 0; frame < 3100 && s.laserPower; ++frame) {
            powered += drainEnergy(s, energy, 0.03);
        }
        s.laserPower = false;
    }
    EXPECT_LE(energy, 0);
    EXPECT_NEAR(powered, 10000, 1); // 300 s of 0.03 s frames, give or take rounding
    EXPECT_TRUE(latchGameOver(false, energy, over));
    EXPECT_TRUE(over);
    EXPECT_FALSE(latchGameOver(false, energy, over)); // latched once
}

TEST(GameOver, NotWhileSolvedNowNorWithEnergyLeft) {
    bool over = false;
    EXPECT_FALSE(latchGameOver(true, 0.0, over));
    EXPECT_FALSE(latchGameOver(false, 0.001, over));
    EXPECT_FALSE(over);
    EXPECT_TRUE(latchGameOver(false, -0.02, over));
}

TEST(Solved, LatchesOnceAndStays) {
    bool solved = false;
    EXPECT_FALSE(latchSolved(false, solved));
    EXPECT_TRUE(latchSolved(true, solved));
    EXPECT_FALSE(latchSolved(true, solved));
    EXPECT_FALSE(latchSolved(false, solved));
    EXPECT_TRUE(solved);
}
