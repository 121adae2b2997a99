// The solver on small levels with known answers (tests/data/solver) and on the pack. Every
// answer is checked by turning the elements as the game does and running the real update and
// goal test, not by the solver's word.

#include "solver/Solver.h"
#include "elements/ActiveObject.h"
#include "laser/Tracer.h"
#include "rules/GameRules.h"
#include "support/LevelText.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

std::unique_ptr<Level> levelFile(const std::string& path) {
    loadTestModels();
    return levelFromText(readFile(path));
}

std::unique_ptr<Level> testLevel(const std::string& name) {
    return levelFile(std::string(BEAMWORKS_SOURCE_DIR) + "/tests/data/" + name);
}

std::unique_ptr<Level> packLevel(int n) {
    return levelFile(std::string(BEAMWORKS_GAME_DIR) + "/level" + std::to_string(n) + ".txt");
}

// Turns the elements as the game does and asks the real update and goal test.
bool solvedBy(Level& level, const SolveResult& result) {
    applyTurns(result.turns);
    updateLasers(level);
    return isLevelSolved(level);
}

std::vector<Matrix> localMatrices(const Level& level) {
    std::vector<Matrix> list;
    for (const Renderable* object : level.objects) {
        list.push_back(object->localMatrix);
    }
    return list;
}

} // namespace

TEST(Solver, SmallLevelsWithKnownAnswers) {
    const int ANY = 1000;
    const struct {
        const char* file;
        SolveOutcome outcome;
        std::size_t turns;
        double yaw, tilt;    // of the first turn
        int maxElements = 0; // the options, when not the defaults
        int step = 15;
        // How the player has turned and tilted the first element already, in degrees, and
        // whether its holder hangs on a wall that faces +x (its y axis along +x).
        float turnedBefore = 0, tiltedBefore = 0;
        bool onWall = false;
    } cases[] = {
        // 45 and -135 put the mirror in the same plane: the smaller turn comes first. The search
        // goes to the grid, or keeps an element's own heading or tilt, wherever it was turned.
        {"solver/one-mirror.txt", SolveOutcome::Solved, 1, 45, 0},
        {"solver/one-mirror.txt", SolveOutcome::Solved, 1, 15, 0, 0, 15, 30},
        {"solver/one-mirror.txt", SolveOutcome::Solved, 1, 44, -3, 0, 15, 1, 3},
        {"solver/two-mirrors-filter.txt", SolveOutcome::Solved, 2, ANY, ANY},
        {"solver/half-mirror-split.txt", SolveOutcome::Solved, 1, ANY, ANY},
        // A tilt only where no turn about the vertical reaches; steps of 45 degrees miss it.
        {"solver/tilt.txt", SolveOutcome::Solved, 1, 0, -60},
        {"solver/tilt.txt", SolveOutcome::Solved, 1, 0, -63, 0, 15, 0, 3},
        {"solver/tilt.txt", SolveOutcome::NoSolution, 0, ANY, ANY, 0, 45},
        // On the wall the heading swings the face through the wall's plane: tilted by -45 at
        // heading 0 of the wall, the mirror sends the beam along +x to the goal.
        {"solver/one-mirror.txt", SolveOutcome::Solved, 1, -4, -45, 0, 15, 4, 0, true},
        {"solver/walled-in.txt", SolveOutcome::NoSolution, 0, ANY, ANY},
        // Solved already: no change at all, whatever the bound. (That a bound of one refuses
        // what takes two is the solve tool's test.)
        {"solved.txt", SolveOutcome::Solved, 0, ANY, ANY, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        auto level = testLevel(c.file);
        ActiveObject* first = turnableElements(*level)[0];
        const float radians = 3.14159265f / 180;
        first->rotateZ(c.onWall ? -90 * radians : 0);
        first->rotateY(c.turnedBefore * radians);
        first->rotateX(c.tiltedBefore * radians);
        SolveOptions options;
        options.maxChangedElements = c.maxElements;
        options.stepDegrees = c.step;
        const SolveResult r = solve(*level, options);
        ASSERT_EQ(r.outcome, c.outcome);
        ASSERT_EQ(r.turns.size(), c.turns);
        if (c.yaw != ANY) {
            EXPECT_EQ(r.turns[0].yawDegrees, c.yaw);
            EXPECT_EQ(r.turns[0].tiltDegrees, c.tilt);
        }
        for (const ElementTurn& turn : r.turns) {
            EXPECT_EQ(level->activeObjects[turn.activeIndex], turn.element);
            EXPECT_EQ(turnableElements(*level)[turn.turnableIndex], turn.element);
        }
        EXPECT_EQ(c.outcome == SolveOutcome::Solved, solvedBy(*level, r));
    }
}

TEST(Solver, CarriesAMirrorOutOfTheLightIntoItAndFindsNoWayIntoAWalledInGoal) {
    const std::string dir = std::string(BEAMWORKS_SOURCE_DIR) + "/tests/solver/levels/";
    auto level = levelFile(dir + "carry.txt");
    SolveOptions options;
    options.findPar = true;
    const SolveResult r = solve(*level, options);
    ASSERT_EQ(r.outcome, SolveOutcome::Solved);
    ASSERT_EQ(r.turns.size(), 1u);
    EXPECT_TRUE(r.turns[0].carry.carried);
    EXPECT_EQ(r.turns[0].carry.place, "ON THE BACK WALL");
    // Carried and turned there: two moves, and nothing takes fewer.
    EXPECT_EQ(r.moves, 2);
    EXPECT_EQ(r.par, 2);
    EXPECT_TRUE(solvedBy(*level, r));

    options.carry = false;
    EXPECT_EQ(solve(*levelFile(dir + "carry.txt"), options).outcome, SolveOutcome::NoSolution);
    EXPECT_EQ(solve(*levelFile(dir + "walled-in-room.txt")).outcome, SolveOutcome::NoSolution);
}

TEST(Solver, StopsOnCancelTimeLimitAndBadStep) {
    auto level = packLevel(9);
    const std::atomic<bool> cancelled{true};
    SolveOptions options;
    options.cancel = &cancelled;
    SolveResult r = solve(*level, options);
    EXPECT_EQ(r.outcome, SolveOutcome::Cancelled);
    EXPECT_TRUE(r.turns.empty());

    options.cancel = nullptr;
    options.timeLimitSeconds = 1e-9;
    EXPECT_EQ(solve(*level, options).outcome, SolveOutcome::TimeLimit);

    for (int step : {0, 7, 360, -15}) {
        options.stepDegrees = step;
        r = solve(*level, options);
        EXPECT_EQ(r.outcome, SolveOutcome::NoSolution) << step;
        EXPECT_EQ(r.states, 0) << step;
    }
}

TEST(Solver, AnswersRepeatAloneOrBesideAnotherSolveAndAGameAndLeaveTheLevelAsGiven) {
    // Levels are built before the threads start: building one reads files and prints.
    auto four = packLevel(4), seven = packLevel(7), played = packLevel(6);
    updateLasers(*four);
    const std::vector<Matrix> before = localMatrices(*four); // the beams' too
    const SolveResult fourAlone = solve(*four), sevenAlone = solve(*seven);
    EXPECT_TRUE(localMatrices(*four) == before);
    SolveResult a, b;
    std::atomic<int> running{2};
    std::thread first([&] {
        a = solve(*four);
        --running;
    });
    std::thread second([&] {
        b = solve(*seven);
        --running;
    });
    updateLasers(*played);
    const std::size_t segments = played->laserBeams.size();
    int frames = 0;
    while (running > 0 || frames < 10) {
        turnableElements(*played)[0]->rotateY(0.01f);
        turnableElements(*played)[0]->rotateY(-0.01f);
        updateLasers(*played);
        EXPECT_EQ(played->laserBeams.size(), segments);
        ++frames;
    }
    first.join();
    second.join();
    for (const auto& [alone, beside] : {std::pair{&fourAlone, &a}, {&sevenAlone, &b}}) {
        ASSERT_EQ(alone->outcome, SolveOutcome::Solved);
        EXPECT_EQ(alone->states, beside->states);
        ASSERT_EQ(alone->turns.size(), beside->turns.size());
        for (std::size_t i = 0; i < alone->turns.size(); ++i) {
            EXPECT_EQ(alone->turns[i].turnableIndex, beside->turns[i].turnableIndex);
            EXPECT_EQ(alone->turns[i].yawDegrees, beside->turns[i].yawDegrees);
            EXPECT_EQ(alone->turns[i].tiltDegrees, beside->turns[i].tiltDegrees);
        }
    }
    EXPECT_TRUE(solvedBy(*four, a));
    EXPECT_TRUE(solvedBy(*seven, b));
}
