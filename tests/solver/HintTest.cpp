// What a hint says for each kind of answer, on real elements.

#include "solver/Hint.h"
#include "elements/ActiveObject.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

TEST(Hint, SaysWhichWayToTurnOrTiltFromThePlayersViewAndNamesTheElement) {
    loadTestModels();
    const auto level = levelFromText("@ EMI\n@ MIR\n# Pos 0;0;-200;\n@ HMI\n# Pos 200;0;-200;\n"
                                     "@ FIL\n# Pos -200;0;-200;\n");
    const std::vector<ActiveObject*> turnable = turnableElements(*level);
    ASSERT_EQ(turnable.size(), 3u);
    const auto answer = [&](int which, int yaw, int tilt) {
        SolveResult r;
        r.outcome = SolveOutcome::Solved;
        r.turns.push_back({which, -1, turnable[which], yaw, tilt});
        return describeHint(r);
    };
    const Hint right = answer(0, 30, 15); // the turn comes first
    EXPECT_TRUE(right.helps);
    EXPECT_EQ(right.message, "TURN THIS MIRROR 30 DEGREES RIGHT");
    EXPECT_EQ(answer(1, -45, 0).message, "TURN THIS HALF MIRROR 45 DEGREES LEFT");
    EXPECT_EQ(answer(2, 0, -15).message, "TILT THIS FILTER 15 DEGREES DOWN");
}

TEST(Hint, NothingToTurnOrNoWayFromHereCostsNothing) {
    SolveResult none;
    none.outcome = SolveOutcome::NoSolution;
    const Hint no = describeHint(none);
    EXPECT_FALSE(no.helps);
    EXPECT_EQ(no.message, "NO HINT FROM HERE - TRY RESTARTING");
    none.outcome = SolveOutcome::TimeLimit;
    EXPECT_EQ(describeHint(none).message, no.message);
    SolveResult done;
    done.outcome = SolveOutcome::Solved;
    EXPECT_FALSE(describeHint(done).helps);
}
