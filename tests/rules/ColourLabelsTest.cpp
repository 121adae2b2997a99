#include "rules/ColourLabels.h"
#include "rules/LightReadout.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <tuple>

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

TEST(ColourLabels, StayInsideTheSceneAndPointAtWhatIsOutOfView) {
    const LabelArea area{0, 100, 800, 500}; // centre (400, 300)
    struct Case {
        double x, y;
        int left, top; // where the 100 x 10 text goes
        LabelEdge edge;
    };
    for (const Case& c : {
             Case{400, 300, 350, 290, LabelEdge::None},
             Case{10, 300, 0, 290, LabelEdge::None},      // moved in to fit, still in view
             Case{400, 102, 350, 100, LabelEdge::None},   // under the top bar's edge
             Case{-400, 300, 0, 290, LabelEdge::Left},    // off the left side
             Case{1e9, 300, 700, 290, LabelEdge::Right},  // far off the right
             Case{400, -50, 350, 100, LabelEdge::Top},    // above the top bar
             Case{400, 9e9, 350, 490, LabelEdge::Bottom}, // below the bottom bar
             Case{NAN, NAN, 350, 490, LabelEdge::Bottom}, // no place at all: still shown
         }) {
        const LabelPlace p = placeLabel(c.x, c.y, 100, 10, area);
        EXPECT_EQ(std::tuple(p.x, p.y, p.edge), std::tuple(c.left, c.top, c.edge)) << c.x << c.y;
    }
    // A label above the scene whose goal is in it stands on the goal, without an arrow.
    const LabelPlace onGoal = placeLabel(400, 50, 100, 10, area, 420, 130);
    EXPECT_EQ(std::tuple(onGoal.x, onGoal.y, onGoal.edge), std::tuple(370, 120, LabelEdge::None));
    EXPECT_EQ(withEdgeArrow("WANTS RED", LabelEdge::Left), "< WANTS RED");
    EXPECT_EQ(withEdgeArrow("WANTS RED", LabelEdge::None), "WANTS RED");
}

using LightReadout = WithGameModels;

TEST_F(LightReadout, NamesWhatTheLightLeavingAnElementMeetsFirst) {
    // Laser -> half mirror (one beam on, one to the side and out) -> red filter -> green goal; a
    // mirror no light reaches.
    auto level = tracedLevel("@ EMI\n@ HMI\n# Pos 0;0;-200;\n# YRo 45;\n@ FIL\n# Pos 0;0;-450;\n"
                             "# Col 1\n@ FIN\n# Pos 0;0;-750;\n# Col 2\n@ MIR\n# Pos 0;0;900;\n");
    const auto named = [&](const char* name) -> const ActiveObject& {
        for (const ActiveObject* object : level->activeObjects) {
            if (elementName(*level, *object) == name) {
                return *object;
            }
        }
        throw std::runtime_error(name);
    };
    const std::string toGoal = "-> GOAL 1, WANTS GREEN, GETS RED";
    EXPECT_EQ(whereTheLightGoes(*level, named("FILTER 1")), toGoal);
    const std::string split = whereTheLightGoes(*level, named("HALF MIRROR 1"));
    EXPECT_TRUE(split == "-> FILTER 1 / -> NOTHING" || split == "-> NOTHING / -> FILTER 1")
        << split;
    EXPECT_EQ(whereTheLightGoes(*level, named("MIRROR 1")), "NO LIGHT ON IT");
}
