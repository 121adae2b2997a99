#include "rules/ColourLabels.h"

#include <gtest/gtest.h>

TEST(ColourLabels, AGoalSaysWhatItWantsWhatItGetsAndWhenItIsOpen) {
    EXPECT_EQ(goalLabel(1, {}, false), "WANTS RED");
    EXPECT_EQ(goalLabel(1, {7}, false), "WANTS RED - GETS WHITE");
    EXPECT_EQ(goalLabel(1, {7, 1, 7}, false), "WANTS RED - GETS WHITE + RED");
    EXPECT_EQ(goalLabel(6, {6}, true), "CYAN - OPEN");
    EXPECT_EQ(goalLabel(3, {0}, false), "WANTS YELLOW - GETS BLACK");
    EXPECT_EQ(filterLabel(5), "PASSES MAGENTA");
    EXPECT_EQ(colourName(-3), "BLACK");
    EXPECT_EQ(colourName(8), "BLACK");
}
