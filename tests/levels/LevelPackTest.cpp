// The shipped level pack, proven with the real simulation: every level is unsolved as shipped
// and solved by its solution file, which moves elements to places the player can reach.

#include "elements/ActiveObject.h"
#include "elements/Emitter.h"
#include "elements/Holder.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "rules/GameRules.h"
#include "rules/Placement.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int LEVEL_COUNT = 10;

std::string levelPath(int n, bool solution = false) {
    return std::string(BEAMWORKS_SOURCE_DIR) + "/data/levels/" + (solution ? "solutions/" : "") +
           "level" + std::to_string(n) + ".txt";
}

std::unique_ptr<Level> load(const std::string& path) {
    std::unique_ptr<Level> level;
    captureStdout([&] { level = std::make_unique<Level>(path); });
    return level;
}

bool solvedAfterUpdate(Level& level) {
    updateLasers(level);
    return isLevelSolved(level);
}

std::vector<Holder*> holders(Level& level) {
    std::vector<Holder*> out;
    for (ActiveObject* object : level.activeObjects) {
        if (auto* holder = dynamic_cast<Holder*>(object)) {
            out.push_back(holder);
        }
    }
    return out;
}

ActiveObject* heldElement(Holder& holder) {
    return static_cast<ActiveObject*>(holder.frame()->children.front());
}

class LevelPack : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { loadTestModels(); }
    int n() const { return GetParam(); }
};

TEST_P(LevelPack, IsUnsolvedAsShippedAndSolvedByItsSolution) {
    auto level = load(levelPath(n()));
    ASSERT_TRUE(level->isLoaded());
    ASSERT_FALSE(level->activeObjects.empty());
    EXPECT_NE(dynamic_cast<Emitter*>(level->activeObjects.front()), nullptr)
        << "the first element must be the emitter";
    EXPECT_FALSE(level->lights.empty());
    EXPECT_FALSE(level->goals.empty());
    EXPECT_FALSE(solvedAfterUpdate(*level)) << "the level is solved with the power on";
    auto solution = load(levelPath(n(), true));
    ASSERT_TRUE(solution->isLoaded());
    EXPECT_TRUE(solvedAfterUpdate(*solution)) << "the solution does not solve the level";
}

TEST_P(LevelPack, SolutionIsReachableAndNotOnAKnifeEdge) {
    auto level = load(levelPath(n()));
    auto solution = load(levelPath(n(), true));
    const std::vector<Holder*> before = holders(*level);
    const std::vector<Holder*> after = holders(*solution);
    ASSERT_EQ(before.size(), after.size());
    // Each moved element turned or tilted a fifth of a degree either way, as a drag would.
    const float delta = 0.2f * static_cast<float>(PI) / 180.0f;
    for (std::size_t i = 0; i < after.size(); ++i) {
        // Every movable element is free: a selected element that overlaps another one would
        // lock the player's clicks.
        EXPECT_FALSE(isPlacementBlocked(*level, heldElement(*before[i])))
            << "holder " << i + 1 << " overlaps another element as shipped";
        EXPECT_FALSE(isPlacementBlocked(*solution, heldElement(*after[i])))
            << "holder " << i + 1 << " overlaps another element in the solution";
        // A holder stands on the floor or, carried, on a wall: its y axis is the inward normal
        // of one of the room's axis-aligned faces.
        const Matrix w = after[i]->getWorldMatrix();
        const float length = std::sqrt(w[4] * w[4] + w[5] * w[5] + w[6] * w[6]);
        const float largest = std::max({std::fabs(w[4]), std::fabs(w[5]), std::fabs(w[6])});
        EXPECT_NEAR(largest / length, 1.0f, 1e-4f) << "holder " << i + 1 << " stands on no wall";

        if (before[i]->getWorldMatrix() == w &&
            before[i]->frame()->getWorldMatrix() == after[i]->frame()->getWorldMatrix()) {
            continue;
        }
        ActiveObject* element = heldElement(*after[i]);
        for (const float a : {delta, -delta}) {
            element->rotateY(a);
            EXPECT_TRUE(solvedAfterUpdate(*solution)) << "holder " << i + 1 << " turned " << a;
            element->rotateY(-a);
            element->rotateX(a);
            EXPECT_TRUE(solvedAfterUpdate(*solution)) << "holder " << i + 1 << " tilted " << a;
            element->rotateX(-a);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, LevelPack, ::testing::Range(1, LEVEL_COUNT + 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Level" + std::to_string(info.param);
                         });

} // namespace
