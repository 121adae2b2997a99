// The placement overlap test of a moved element, on small levels built from text.

#include "rules/Placement.h"
#include "elements/ActiveObject.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "support/LevelText.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class Placement : public ::testing::Test {
  protected:
    void SetUp() override { loadTestModels(); }
};

// A number as the level file gives it, exact for a float.
std::string num(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(v));
    return text;
}

std::string mirrorAt(float x) {
    return "@ MIR\n# Pos " + num(x) + ";0;0;\n";
}

// The element held in the n-th holder of the level, in file order.
Renderable* element(Level& level, int n) {
    for (ActiveObject* object : level.activeObjects) {
        if (auto* holder = dynamic_cast<Holder*>(object)) {
            if (n-- == 0) {
                return holder->frame()->children.front();
            }
        }
    }
    return nullptr;
}

// Why the element of the n-th holder of the level text may not stand there ("" if it may).
std::string refusal(const std::string& text, int n = 0) {
    auto level = levelFromText(text);
    const ActiveObject* blocker = placementBlocker(*level, element(*level, n));
    return blocker ? refusalText(*blocker) : "";
}

} // namespace

TEST_F(Placement, SpheresThatOnlyTouchDoNotBlockInAnyDirection) {
    const float r = gameModels().mirror->radius;
    for (int n : {0, 1}) {
        EXPECT_EQ(refusal(mirrorAt(0) + mirrorAt(2 * r), n), "");
        EXPECT_EQ(refusal(mirrorAt(0) + mirrorAt(2 * r - 0.5f), n), "TOO CLOSE TO THE MIRROR");
    }
    // 3-4-5: the centres are 5 * 50 apart, more than two mirror radii.
    ASSERT_GT(250.0f, 2 * r);
    EXPECT_EQ(refusal("@ MIR\n@ FIL\n# Pos 150;200;0;\n# Col 1\n"), "");
    EXPECT_EQ(refusal("@ MIR\n@ FIL\n# Pos 100;100;100;\n# Col 1\n"), "TOO CLOSE TO THE FILTER");
    EXPECT_EQ(refusal("@ FIL\n@ HMI\n# Pos 100;0;0;\n"), "TOO CLOSE TO THE HALF MIRROR");
}

TEST_F(Placement, GoalsEmittersAndCollectorsBlock) {
    const float r = gameModels().mirror->radius, ball = gameModels().ball->radius;
    // The goal's ball just inside and just outside reach; its door stands 50 below.
    const std::string goal = "@ FIN\n# Pos 0;";
    EXPECT_EQ(refusal(mirrorAt(0) + goal + num(r + ball - 1) + ";0;\n"), "TOO CLOSE TO THE GOAL");
    EXPECT_EQ(refusal(mirrorAt(0) + goal + num(r + ball + 100) + ";0;\n"), "");
    EXPECT_EQ(refusal("@ EMI\n# Pos 0;0;150;\n" + mirrorAt(0)), "TOO CLOSE TO THE LASER");
    // The collector's sphere sits along its tube: the same distance blocks on one side only.
    EXPECT_EQ(refusal(mirrorAt(0) + "@ COL\n# Pos 0;0;230;\n"), "TOO CLOSE TO THE COLLECTOR");
    EXPECT_EQ(refusal(mirrorAt(0) + "@ COL\n# Pos 0;0;230;\n# YRo 180;\n"), "");
}

TEST_F(Placement, OnlyTheMountCountsNotSelectionFlagsOrWallsAndLights) {
    // Everything here shares the mirror's centre, and none of it takes part.
    EXPECT_EQ(refusal("@ MIR\n@ WAL\n@ LIG\n"), "");
    auto level = levelFromText(mirrorAt(0) + mirrorAt(gameModels().mirror->radius));
    Renderable* first = element(*level, 0);
    // A stale flag on the other mirror would make it look related to the selection.
    element(*level, 1)->selected = true;
    first->selected = true;
    EXPECT_TRUE(isPlacementBlocked(*level, first));
    EXPECT_FALSE(isPlacementBlocked(*level, nullptr)); // nothing selected
    EXPECT_TRUE(isSameMount(*first->parent->parent, *first));
    EXPECT_FALSE(isSameMount(*first, *element(*level, 1)));
}
