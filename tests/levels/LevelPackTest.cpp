// The shipped level pack, proven with the real simulation: every level is unsolved as shipped
// and solved by its solution file, which moves elements to places the player can reach; its text
// keeps to the documented format and says what it teaches; its start view shows every element
// from inside a closed room, which the far plane never cuts.

#include "elements/ActiveObject.h"
#include "elements/Emitter.h"
#include "elements/Holder.h"
#include "elements/Wall.h"
#include "laser/Ray.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "rules/Frustum.h"
#include "rules/GameFlow.h"
#include "rules/GameRules.h"
#include "rules/Interaction.h"
#include "rules/Placement.h"
#include "rules/RoomReach.h"
#include "support/ScratchDir.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int LEVEL_COUNT = 30;

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

TEST_P(LevelPack, UnsolvedAsShippedAndSolvedByMovingHoldersToFreeReachablePlacesWithRoomToSpare) {
    auto level = load(levelPath(n()));
    ASSERT_TRUE(level->isLoaded());
    ASSERT_FALSE(level->activeObjects.empty());
    EXPECT_NE(dynamic_cast<Emitter*>(level->activeObjects.front()), nullptr)
        << "the first element must be the emitter";
    EXPECT_FALSE(level->lights.empty());
    EXPECT_FALSE(solvedAfterUpdate(*level)) << "the level is solved with the power on";
    auto solution = load(levelPath(n(), true));
    ASSERT_TRUE(solution->isLoaded());
    EXPECT_TRUE(solvedAfterUpdate(*solution)) << "the solution does not solve the level";

    // Nothing moves but the holders of mirrors, filters and lamps.
    ASSERT_EQ(level->activeObjects.size(), solution->activeObjects.size());
    for (std::size_t i = 0; i < level->activeObjects.size(); ++i) {
        ActiveObject* object = level->activeObjects[i];
        if (groupRoot(object) == object && !dynamic_cast<Holder*>(object)) {
            EXPECT_EQ(object->getWorldMatrix(), solution->activeObjects[i]->getWorldMatrix())
                << "element " << i + 1 << " moved";
        }
    }
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

TEST_P(LevelPack, TextKeepsToTheFormatAndSaysWhatItTeaches) {
    const std::string text = readFile(levelPath(n()));
    std::istringstream in(text);
    // The comment as the panel shows it, its lines run together.
    std::string comment;
    for (char c : readLeadingComment(in)) {
        const bool blank = c == ' ' || c == '\r' || c == '\n';
        if (!blank || (!comment.empty() && comment.back() != ' ')) {
            comment.push_back(blank ? ' ' : c);
        }
    }
    EXPECT_EQ(comment.rfind("Beamworks level " + std::to_string(n()) + ": ", 0), 0u)
        << "the title line";
    EXPECT_NE(comment.find(" Teaches: "), std::string::npos);
    // Every directive is a documented one (its three letters count).
    const std::set<std::string> objects = {"EMI", "MIR", "HMI", "FIL", "COL",
                                           "FIN", "WAL", "LIG", "CAM", "LEV"};
    const std::set<std::string> properties = {"Pos", "XRo", "YRo", "ZRo", "Sca", "Col", "Tex"};
    int mirrors = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '@' && c != '#' && c != '+') {
            continue;
        }
        const std::string word = text.substr(i + 2, 3);
        EXPECT_EQ((c == '@' ? objects : properties).count(word), 1u)
            << "'" << c << " " << word << "' at byte " << i;
        mirrors += c == '@' && (word == "MIR" || word == "HMI");
    }
    // The game draws fewer reflections with many mirrors; the level says so.
    if (mirrors >= 8) {
        EXPECT_NE(comment.find("draws no reflections"), std::string::npos);
    } else if (mirrors >= 4) {
        EXPECT_NE(comment.find("only one level of reflections"), std::string::npos);
    }
}

TEST_P(LevelPack, StartViewShowsEveryElementFromInsideAClosedRoom) {
    auto level = load(levelPath(n()));
    bool levelled = false;
    const Matrix view = levelStartView(*level, &levelled);
    EXPECT_FALSE(levelled);
    // Every element wholly inside the view frustum at 1024 x 768 (no plane has the sphere's
    // centre beyond minus its radius).
    const Frustum frustum = buildFrustumPlanes(1024.0 / 768.0);
    for (std::size_t i = 0; i < level->activeObjects.size(); ++i) {
        ActiveObject* object = level->activeObjects[i];
        if (isPuzzleElement(object)) {
            Point centre = object->getBoundingCenter();
            transformPoint(view, centre);
            EXPECT_FALSE(sphereOutside(frustum, centre, -object->getBoundingRadius()))
                << "element " << i + 1 << " is not wholly in the start view";
        }
    }
    // The eye keeps the camera rules' distance from every wall, and every way it can look meets
    // a wall.
    const Point eye = eyePosition(view);
    for (ActiveObject* wall : level->walls) {
        EXPECT_GE(static_cast<Wall*>(wall)->distanceTo(eye), CAMERA_WALL_DISTANCE);
    }
    for (int i = 0; i < 64; ++i) {
        // Directions spread over the sphere (a spiral), not lined up with the room's axes.
        const float y = 1 - (i + 0.5f) / 32, r = std::sqrt(1 - y * y), a = 2.39996f * i;
        const Ray ray{eye, {r * std::cos(a), y, r * std::sin(a), 0}};
        bool hit = false;
        for (ActiveObject* wall : level->walls) {
            float distance = 0, point[3], normal[3];
            hit = hit || wall->hitTest(ray, distance, point, normal) != HIT_NONE;
        }
        EXPECT_TRUE(hit) << "a ray from the eye leaves the room, direction " << i;
    }
    EXPECT_LE(farthestRoomDistance(*level), ROOM_REACH_LIMIT) << "a corner lies past the far plane";
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, LevelPack, ::testing::Range(1, LEVEL_COUNT + 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Level" + std::to_string(info.param);
                         });

} // namespace
