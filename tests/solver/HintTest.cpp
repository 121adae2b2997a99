// What a hint says for each kind of answer, on real elements, and why there is none on real
// searches.

#include "solver/Hint.h"
#include "elements/ActiveObject.h"
#include "support/LevelText.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

TEST(Hint, SaysWhichWayAndHowFarToTurnOrTiltAndNamesTheElement) {
    loadTestModels();
    const auto level = levelFromText("@ EMI\n@ MIR\n# Pos 0;0;-200;\n@ HMI\n# Pos 200;0;-200;\n"
                                     "@ FIL\n# Pos -200;0;-200;\n");
    const std::vector<ActiveObject*> turnable = turnableElements(*level);
    ASSERT_EQ(turnable.size(), 3u);
    const auto said = [&](int which, double yaw, double tilt) {
        HintSearch search;
        search.result.outcome = SolveOutcome::Solved;
        search.result.turns.push_back({which, -1, turnable[which], yaw, tilt, {}});
        const Hint hint = describeHint(search);
        return hint.helps ? hint.message : "";
    };
    EXPECT_EQ(said(0, 30, 15), "TURN THIS MIRROR 30 DEGREES RIGHT"); // the turn comes first
    EXPECT_EQ(said(1, -29.4, 0), "TURN THIS HALF MIRROR 29 DEGREES LEFT");
    EXPECT_EQ(said(0, 0.6, 0), "TURN THIS MIRROR 1 DEGREE RIGHT");
    EXPECT_EQ(said(0, -0.4, 0), "TURN THIS MIRROR A LITTLE LEFT");
    EXPECT_EQ(said(2, 0.4, -15), "TILT THIS FILTER 15 DEGREES DOWN"); // the tiny turn waits
    EXPECT_EQ(said(2, 0, 0.2), "TILT THIS FILTER A LITTLE UP");
    HintSearch done;
    done.result.outcome = SolveOutcome::Solved;
    EXPECT_FALSE(describeHint(done).helps); // nothing to turn

    // A carry comes first, whatever turn follows it; the spot goes on a line of its own.
    ElementTurn carry{1, -1, turnable[1], 30, 15, {}};
    carry.carry.carried = true;
    carry.carry.place = "ON THE CEILING ABOVE THE COLLECTOR";
    done.result.turns.push_back(carry);
    const Hint carried = describeHint(done);
    EXPECT_EQ(carried.message, "CARRY THIS HALF MIRROR");
    EXPECT_EQ(carried.detail, carry.carry.place);
}

TEST(Hint, NoHintSaysWhyAndCostsNothing) {
    const struct {
        const char* file;
        float shift;    // of the first holder, sideways
        double seconds; // the time limit
        const char* said;
        bool carry = true;
    } cases[] = {
        // The one mirror shifted out of the beam (no walls to carry it back by): as shipped,
        // turns solve the level.
        {"one-mirror.txt", 300, 0, "NO HINT FROM HERE - R RESTORES THE LEVEL"},
        // Walled in, the goal gets light from nothing: none from the start either, whether the
        // holder stands there (no second search) or not; by turning alone, a carry may do.
        {"walled-in.txt", 0, 0, "NO HINT - THE SOLVER FINDS NO WAY"},
        {"walled-in.txt", 30, 0, "NO HINT - THE SOLVER FINDS NO WAY"},
        {"walled-in.txt", 30, 0, "NO HINT BY TURNING - CARRY A HOLDER", false},
        {"one-mirror.txt", 0, 1e-9, "NO HINT FOUND IN TIME"},
    };
    loadTestModels();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string text =
            readFile(std::string(BEAMWORKS_SOURCE_DIR) + "/tests/data/solver/" + c.file);
        const auto now = levelFromText(text), shipped = levelFromText(text);
        turnableElements(*now)[0]->translate(c.shift, 0, 0);
        SolveOptions options;
        options.timeLimitSeconds = c.seconds;
        options.carry = c.carry;
        const Hint hint = describeHint(findHint(*now, *shipped, options));
        EXPECT_FALSE(hint.helps);
        EXPECT_EQ(hint.message, c.said);
        EXPECT_LE(hint.message.size(), 40u);
    }
}
