#include "laser/BeamGuides.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

namespace {

using Guides = WithGameModels;

// The emitter 140 above a floor whose top is at y = -140, shooting at a back wall.
const std::string EMITTER = "@ EMI\n# Pos 0;0;300;\n";
const std::string BACK = "@ WAL\n# Pos 0;0;-1000;\n# Sca 10;10;1;\n";
const std::string ROOM = BACK + "@ WAL\n# Pos 0;-150;0;\n# XRo 90;\n# Sca 10;10;1;\n";
constexpr float ON_FLOOR = -140 + GROUND_TRACE_LIFT;

struct Case {
    const char* what;
    std::string level;
    std::size_t ends, traces, plumbs;
    float highestFoot; ///< of the plumb lines
    float lastEndY;    ///< where the light stops
};

} // namespace

TEST_F(Guides, MarkEndsAndLayFootprintsOnTheGroundBelow) {
    const Case cases[] = {
        {"level beam", EMITTER + ROOM, 1, 1, 2, ON_FLOOR, 0},
        {"bent by a mirror",
         EMITTER + "@ MIR\n# Pos 0;0;0;\n# YRo 45;\n" + ROOM +
             "@ WAL\n# Pos -600;0;0;\n# YRo 90;\n# Sca 10;10;1;\n" +
             "@ WAL\n# Pos 600;0;0;\n# YRo 90;\n# Sca 10;10;1;\n",
         2, 2, 3, ON_FLOOR, 0},
        {"cut at a filter's plane beside it", EMITTER + "@ FIL\n# Pos 500;0;0;\n# Col 7\n" + ROOM,
         1, 2, 2, ON_FLOOR, 0},
        {"down onto the floor", "@ EMI\n# Pos 0;0;300;\n# XRo -30;\n" + ROOM, 1, 1, 1, ON_FLOOR,
         -140},
        {"from a stand", EMITTER + "@ WAL\n# Pos 0;-100;300;\n# Sca 0.3;0.3;3;\n" + ROOM, 1, 1, 2,
         -70 + GROUND_TRACE_LIFT, 0},
        {"over no ground", EMITTER + BACK, 1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto level = tracedLevel(c.level);
        BeamGuides guides;
        collectBeamGuides(*level, guides);
        collectBeamGuides(*level, guides); // refilled, not added to
        ASSERT_EQ(guides.ends.size(), c.ends);
        EXPECT_EQ(guides.groundTraces.size(), c.traces);
        ASSERT_EQ(guides.plumbLines.size(), c.plumbs);
        // Traces lie on the lower ground; where something stands higher it hides them.
        for (const auto& trace : guides.groundTraces) {
            EXPECT_FLOAT_EQ(trace.from[1], ON_FLOOR);
            EXPECT_FLOAT_EQ(trace.to[1], ON_FLOOR);
        }
        float highest = -1e9f;
        for (const auto& plumb : guides.plumbLines) {
            EXPECT_GT(plumb.from[1], plumb.to[1]);
            EXPECT_EQ(plumb.from[0], plumb.to[0]);
            highest = std::max(highest, plumb.to[1]);
        }
        if (c.plumbs > 0) {
            EXPECT_NEAR(highest, c.highestFoot, 1e-3);
        }
        EXPECT_EQ(guides.ends.back().colorCode, COLOR_WHITE);
        EXPECT_NEAR(guides.ends.back().at[1], c.lastEndY, 1e-2);
    }
}
