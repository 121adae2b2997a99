// The solver on small levels with known answers (tests/data/solver) and on the pack. Every
// answer is checked by turning the elements as the game does and running the real update and
// goal test, not by the solver's word.

#include "solver/Solver.h"
#include "elements/ActiveObject.h"
#include "laser/Tracer.h"
#include "rules/GameRules.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::unique_ptr<Level> levelFile(const std::string& path) {
    loadTestModels();
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return levelFromText(text.str());
}

std::unique_ptr<Level> testLevel(const std::string& name) {
    return levelFile(std::string(BEAMWORKS_SOURCE_DIR) + "/tests/data/solver/" + name);
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

TEST(Solver, OneMirrorTurnedTheShortWay) {
    auto level = testLevel("one-mirror.txt");
    const SolveResult r = solve(*level);
    ASSERT_EQ(r.outcome, SolveOutcome::Solved);
    ASSERT_EQ(r.turns.size(), 1u);
    // 45 and -135 put the mirror in the same plane: the smaller turn comes first.
    EXPECT_EQ(r.turns[0].yawDegrees, 45);
    EXPECT_EQ(r.turns[0].tiltDegrees, 0);
    EXPECT_EQ(r.turns[0].element, turnableElements(*level)[0]);
    EXPECT_EQ(level->activeObjects[r.turns[0].activeIndex], r.turns[0].element);
    EXPECT_GT(r.states, 0);
    EXPECT_TRUE(solvedBy(*level, r));
}

TEST(Solver, BuildsOnTheCurrentOrientation) {
    // The player has turned the mirror by 30 degrees already: 15 more do it.
    auto level = testLevel("one-mirror.txt");
    turnableElements(*level)[0]->rotateY(30 / 180.0f * 3.14159265f);
    const SolveResult r = solve(*level);
    ASSERT_EQ(r.turns.size(), 1u);
    EXPECT_EQ(r.turns[0].yawDegrees, 15);
    EXPECT_TRUE(solvedBy(*level, r));
}

TEST(Solver, SmallLevelsWithKnownAnswers) {
    const struct {
        const char* file;
        std::size_t turns;
    } cases[] = {{"two-mirrors-filter.txt", 2}, {"half-mirror-split.txt", 1}, {"tilt.txt", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        auto level = testLevel(c.file);
        const SolveResult r = solve(*level);
        ASSERT_EQ(r.outcome, SolveOutcome::Solved);
        EXPECT_EQ(r.turns.size(), c.turns);
        EXPECT_TRUE(solvedBy(*level, r));
    }
}

TEST(Solver, ABoundOnTheChangedElementsCountsExactly) {
    SolveOptions options;
    options.maxChangedElements = 1;
    auto level = testLevel("two-mirrors-filter.txt");
    SolveResult r = solve(*level, options);
    EXPECT_EQ(r.outcome, SolveOutcome::NoSolution);
    EXPECT_TRUE(r.turns.empty());
    options.maxChangedElements = 2;
    r = solve(*level, options);
    ASSERT_EQ(r.outcome, SolveOutcome::Solved);
    EXPECT_TRUE(solvedBy(*level, r));
    // A level solved already needs no change at all, whatever the bound.
    auto solved = levelFile(std::string(BEAMWORKS_SOURCE_DIR) + "/tests/data/solved.txt");
    options.maxChangedElements = 1;
    EXPECT_EQ(solve(*solved, options).outcome, SolveOutcome::Solved);
}

TEST(Solver, TiltOnlyWhereNoTurnAboutTheVerticalReaches) {
    auto level = testLevel("tilt.txt");
    const SolveResult r = solve(*level);
    ASSERT_EQ(r.turns.size(), 1u);
    EXPECT_EQ(r.turns[0].yawDegrees, 0);
    EXPECT_EQ(r.turns[0].tiltDegrees, -60);
    // Steps of 45 degrees cannot make a tilt of 60.
    auto coarse = testLevel("tilt.txt");
    SolveOptions options;
    options.stepDegrees = 45;
    EXPECT_EQ(solve(*coarse, options).outcome, SolveOutcome::NoSolution);
}

TEST(Solver, WalledInGoalHasNoSolution) {
    auto level = testLevel("walled-in.txt");
    const SolveResult r = solve(*level);
    EXPECT_EQ(r.outcome, SolveOutcome::NoSolution);
    EXPECT_TRUE(r.turns.empty());
}

TEST(Solver, SolvedLevelNeedsNoTurn) {
    auto level = levelFile(std::string(BEAMWORKS_SOURCE_DIR) + "/tests/data/solved.txt");
    const SolveResult r = solve(*level);
    EXPECT_EQ(r.outcome, SolveOutcome::Solved);
    EXPECT_TRUE(r.turns.empty());
}

TEST(Solver, LevelComesBackAsGivenAndAnswersRepeat) {
    auto level = packLevel(4);
    updateLasers(*level);
    const std::vector<Matrix> before = localMatrices(*level); // the beams' too
    const SolveResult first = solve(*level);
    EXPECT_TRUE(localMatrices(*level) == before);
    const SolveResult second = solve(*level);
    ASSERT_EQ(first.outcome, SolveOutcome::Solved);
    ASSERT_EQ(first.turns.size(), second.turns.size());
    for (std::size_t i = 0; i < first.turns.size(); ++i) {
        EXPECT_EQ(first.turns[i].turnableIndex, second.turns[i].turnableIndex);
        EXPECT_EQ(first.turns[i].yawDegrees, second.turns[i].yawDegrees);
        EXPECT_EQ(first.turns[i].tiltDegrees, second.turns[i].tiltDegrees);
    }
    EXPECT_EQ(first.states, second.states);
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

TEST(Solver, TwoSolvesBesideAGameTracingItsOwnLevel) {
    // Levels are built before the threads start: building one reads files and prints.
    auto seven = packLevel(7), nine = packLevel(9), played = packLevel(6);
    auto sevenAlone = packLevel(7), nineAlone = packLevel(9);
    SolveResult a, b;
    std::atomic<int> running{2};
    std::thread first([&] {
        a = solve(*seven);
        --running;
    });
    std::thread second([&] {
        b = solve(*nine);
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
    // The same answers as alone.
    const SolveResult a1 = solve(*sevenAlone), b1 = solve(*nineAlone);
    EXPECT_EQ(a.states, a1.states);
    EXPECT_EQ(b.states, b1.states);
    EXPECT_TRUE(solvedBy(*seven, a));
    EXPECT_TRUE(solvedBy(*nine, b));
}
