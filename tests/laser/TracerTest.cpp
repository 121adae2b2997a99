#include "laser/Tracer.h"
#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "elements/Wall.h"
#include "rules/GameRules.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Tracing : public ::testing::Test {
  protected:
    void SetUp() override { loadTestModels(); }

    // Loads the level and runs one update.
    std::unique_ptr<Level> traced(const std::string& text) {
        auto level = levelFromText(text);
        captureStdout([&] { updateLasers(*level); });
        return level;
    }
};

template <class T> std::vector<T*> all(const Level& level) {
    std::vector<T*> found;
    for (Renderable* r : level.objects) {
        if (auto* t = dynamic_cast<T*>(r)) {
            found.push_back(t);
        }
    }
    return found;
}

float length(LaserBeam* s) {
    const Point a = s->startPoint(), b = s->endPoint();
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) +
                     (a[2] - b[2]) * (a[2] - b[2]));
}

// Emitter at the origin shooting along -z; a wall far behind stops the light.
const char* const EMITTER = "@ EMI\n";
const char* const BACK_WALL = "@ WAL\n# Pos 0;0;-2000;\n# Sca 30;30;1;\n";
// Squeezes a mirror's holder to a thin pane, so that reflections leave from (almost) the
// mirror's centre line and chains of them stay on their grid.
const char* const THIN = "# Sca 1;1;0.01;\n";

} // namespace

TEST_F(Tracing, OnlyTheFirstActiveObjectShootsOneLongSegmentPerUpdate) {
    auto level = traced(EMITTER);
    ASSERT_EQ(level->laserBeams.size(), 1u);
    LaserBeam* s = level->laserBeams[0];
    EXPECT_NEAR(s->endPoint()[2], -DEFAULT_BEAM_LENGTH, 1e-2);
    EXPECT_EQ(s->hitObject, nullptr);
    EXPECT_EQ(s->colorCode, COLOR_WHITE);
    EXPECT_EQ(s->intensity, FULL_INTENSITY);
    EXPECT_EQ(level->objects.back(), s);
    // A second update replaces the segments of the first.
    const std::size_t objects = level->objects.size();
    captureStdout([&] { updateLasers(*level); });
    EXPECT_EQ(level->laserBeams.size(), 1u);
    EXPECT_EQ(level->objects.size(), objects);
    EXPECT_EQ(level->transparentSet->beams.size(), 1u);
    EXPECT_TRUE(traced(std::string(BACK_WALL) + EMITTER)->laserBeams.empty());
}

TEST_F(Tracing, AFilterStopsTheColoursItDoesNotPass) {
    // (What a filter passes, at which intensity and with which mask, is the checker's segment
    // test.) Red, then green: nothing passes the second filter.
    auto level = traced(std::string(EMITTER) + "@ FIL\n# Pos 0;0;-200;\n# Col 1\n" +
                        "@ FIL\n# Pos 0;0;-400;\n# Col 2\n" + BACK_WALL);
    ASSERT_EQ(level->laserBeams.size(), 2u);
    EXPECT_EQ(level->colorFilters[1]->incomingLasers.size(), 1u);
    EXPECT_TRUE(level->colorFilters[1]->outgoingLasers.empty());
}

TEST_F(Tracing, TwoPlaneCrossingsCutTheBeamIntoThreeSegments) {
    // Filters beside the beam: only their unbounded planes are crossed.
    auto level = traced(std::string(EMITTER) + "@ FIL\n# Pos 500;0;-100;\n# Col 7\n" +
                        "@ FIL\n# Pos 500;0;-200;\n# Col 7\n" + BACK_WALL);
    ASSERT_EQ(level->laserBeams.size(), 3u);
    const auto& s = level->laserBeams;
    EXPECT_NEAR(length(s[0]), 100, 1e-3);
    EXPECT_NEAR(length(s[1]), 100, 1e-3);
    EXPECT_NEAR(s[2]->endPoint()[2], -1990, 1e-2);
    // The emitter starts behind both planes.
    EXPECT_EQ(s[0]->filterMask, 3);
    EXPECT_EQ(s[1]->filterMask, 2);
    EXPECT_EQ(s[2]->filterMask, 0);
    EXPECT_EQ(s[0]->nextSegments, std::vector<LaserBeam*>{s[1]});
    EXPECT_EQ(s[1]->hitObject, nullptr);
}

TEST_F(Tracing, BlockingHitEndsTheSegmentWithoutCallingTheElement) {
    // The collector turned round: its tube's blocking spheres face the emitter.
    auto level = traced(std::string(EMITTER) + "@ COL\n# Pos 0;0;-300;\n# YRo 180;\n");
    ASSERT_EQ(level->laserBeams.size(), 1u);
    auto* collector = dynamic_cast<Collector*>(level->activeObjects[1]);
    ASSERT_NE(collector, nullptr);
    EXPECT_EQ(level->laserBeams[0]->hitObject, collector);
    EXPECT_TRUE(collector->incomingLasers.empty());
    EXPECT_TRUE(collector->outgoingLasers.empty());
    EXPECT_LT(length(level->laserBeams[0]), 300 - 110 + 12 + 1);
}

TEST_F(Tracing, TiesGoToTheEarlierCandidate) {
    auto level = traced(std::string(EMITTER) + "@ WAL\n# Pos 0;0;-300;\n@ WAL\n# Pos 0;0;-300;\n");
    ASSERT_EQ(level->laserBeams.size(), 1u);
    EXPECT_EQ(level->laserBeams[0]->hitObject, level->activeObjects[1]);
}

TEST_F(Tracing, EveryMirrorOfAChainWeakensTheBeamAndTheSixteenthAbsorbs) {
    // A staircase of thin mirrors at 45 degrees: -z, +x, -z, +x, ...
    std::ostringstream s;
    s << EMITTER;
    for (int i = 0; i < 17; ++i) {
        const int x = 300 * ((i + 1) / 2), z = -200 - 300 * (i / 2);
        s << "@ MIR\n# Pos " << x << ";0;" << z << ";\n# YRo 45;\n" << THIN;
    }
    auto level = traced(s.str());
    const auto mirrors = all<Mirror>(*level);
    ASSERT_EQ(mirrors.size(), 17u);
    // Each reflection reaches the next mirror of the staircase, a little weaker.
    LaserBeam* before = level->laserBeams.at(0);
    for (int i = 0; i < 15; ++i) {
        ASSERT_EQ(mirrors[i]->outgoingLasers.size(), 1u) << "mirror " << i + 1;
        LaserBeam* out = mirrors[i]->outgoingLasers[0];
        EXPECT_LT(out->intensity, before->intensity) << "mirror " << i + 1;
        before = out;
    }
    EXPECT_EQ(mirrors[15]->incomingLasers.size(), 1u);
    EXPECT_TRUE(mirrors[15]->outgoingLasers.empty());
    EXPECT_EQ(mirrors[15]->absorbedCount, 1);
    EXPECT_TRUE(mirrors[16]->incomingLasers.empty());
    EXPECT_EQ(level->laserBeams.size(), 16u);
}

TEST_F(Tracing, EveryHalfMirrorSplitsTheBeamInTwoEqualHalvesAndTheThirteenthAbsorbs) {
    std::ostringstream s;
    s << EMITTER;
    for (int i = 0; i < 14; ++i) {
        s << "@ HMI\n# Pos 0;0;" << -200 * (i + 1) << ";\n# YRo 45;\n";
    }
    auto level = traced(s.str());
    const auto halves = all<MirrorHalf>(*level);
    int before = FULL_INTENSITY;
    for (int i = 0; i < 12; ++i) { // each half goes on and is turned, equally weakened
        ASSERT_EQ(halves[i]->outgoingLasers.size(), 2u) << "half mirror " << i + 1;
        LaserBeam& on = *halves[i]->outgoingLasers[0];
        LaserBeam& turned = *halves[i]->outgoingLasers[1];
        EXPECT_EQ(on.intensity, turned.intensity);
        EXPECT_LT(on.intensity, before) << "half mirror " << i + 1;
        before = on.intensity;
        EXPECT_NEAR(turned.beamDirection()[0], 1, 1e-5);
    }
    EXPECT_EQ(halves[12]->absorbedCount, 1);
    EXPECT_TRUE(halves[12]->outgoingLasers.empty());
    EXPECT_TRUE(halves[13]->incomingLasers.empty());
}

TEST_F(Tracing, CollectorMixesArrivalsIntoOneOutputThatFiltersBehindItPass) {
    // A half mirror splits the white beam; the transmitted half passes a red filter and is
    // turned to +x at z = -600; the reflected half passes a blue filter on its way along +x and
    // is turned down -z at x = 600. Both reach the collector at (600, 0, -600), the red one
    // first. Red and blue make magenta, which stays red behind the red filter at z = -800.
    auto level = traced(
        std::string(EMITTER) + "@ HMI\n# Pos 0;0;-200;\n# YRo 45;\n" + THIN +
        "@ FIL\n# Pos 0;0;-400;\n# Col 1\n@ MIR\n# Pos 0;0;-600;\n# YRo 45;\n" + THIN +
        "@ FIL\n# Pos 300;0;-200;\n# YRo 90;\n# Col 4\n" + "@ MIR\n# Pos 600;0;-200;\n# YRo 45;\n" +
        THIN + "@ COL\n# Pos 600;0;-600;\n@ FIL\n# Pos 600;0;-800;\n# Col 1\n" + BACK_WALL);
    Collector& c = *all<Collector>(*level).at(0);
    ASSERT_EQ(c.incomingLasers.size(), 2u);
    EXPECT_EQ(c.incomingLasers[0]->colorCode, 1); // red arrived first
    EXPECT_EQ(c.incomingLasers[1]->colorCode, 4);
    ASSERT_EQ(c.outgoingLasers.size(), 1u);
    LaserBeam* out = c.outgoingLasers[0];
    EXPECT_EQ(out->colorCode, 5);
    EXPECT_EQ(out->intensity, FULL_INTENSITY);
    for (LaserBeam* in : c.incomingLasers) { // both arrivals link to the one output
        EXPECT_EQ(std::count(in->nextSegments.begin(), in->nextSegments.end(), out), 1);
    }
    ASSERT_EQ(level->colorFilters[2]->outgoingLasers.size(), 1u);
    LaserBeam* red = level->colorFilters[2]->outgoingLasers[0];
    EXPECT_EQ(red->colorCode, 1);
    EXPECT_NE(dynamic_cast<Wall*>(red->hitObject), nullptr); // traced on
}

TEST_F(Tracing, AGoalWantsExactlyItsColourAndTheLevelEveryGoalAllOfThemAsked) {
    auto level = levelFromText("@ FIN\n# Col 3\n@ FIN\n# Col 2\n");
    FinshHead& goal = *level->goals[0];
    FinshHead& green = *level->goals[1];
    const auto beam = [&](signed char c) {
        return level->newLaserBeam(c, FULL_INTENSITY, nullptr);
    };
    EXPECT_FALSE(goal.isSatisfied()); // nothing arrived
    goal.incomingLasers = {beam(7)};
    EXPECT_FALSE(goal.isSatisfied());
    goal.incomingLasers = {beam(3), beam(7)};
    EXPECT_FALSE(goal.isSatisfied());
    // The level asks the second goal although the first one fails.
    green.incomingLasers = {beam(2)};
    EXPECT_FALSE(isLevelSolved(*level));
    EXPECT_EQ(green.door()->state, DOOR_OPENING);
    goal.incomingLasers = {beam(3), beam(3)};
    EXPECT_TRUE(isLevelSolved(*level));
    EXPECT_EQ(goal.door()->state, DOOR_OPENING);
    goal.door()->state = DOOR_OPEN;
    EXPECT_TRUE(goal.isSatisfied());
    EXPECT_EQ(goal.door()->state, DOOR_OPEN);
    goal.incomingLasers.clear();
    EXPECT_FALSE(goal.isSatisfied());
    EXPECT_EQ(goal.door()->state, DOOR_CLOSING);
    Level empty;
    EXPECT_TRUE(isLevelSolved(empty));
}

TEST_F(Tracing, UpdateFollowsAMirrorMovedSinceTheLastOne) {
    auto level = traced(std::string(EMITTER) + "@ MIR\n# Pos 0;0;-300;\n# YRo 45;\n" + BACK_WALL +
                        "@ WAL\n# Pos 2000;0;0;\n# YRo 90;\n# Sca 30;30;1;\n");
    ASSERT_EQ(level->laserBeams.size(), 2u);
    const Point end = level->laserBeams[1]->endPoint();
    EXPECT_NEAR(end[0], 1990, 1e-2);              // on the side wall
    captureStdout([&] { updateLasers(*level); }); // unchanged scene, unchanged segments
    EXPECT_EQ(level->laserBeams[1]->endPoint(), end);

    // Moved through the mirror itself: the move reaches its holder.
    ActiveObject& mirror = *level->activeObjects[1];
    mirror.translate(0, 0, -100);
    captureStdout([&] { updateLasers(*level); });
    ASSERT_EQ(level->laserBeams.size(), 2u);
    EXPECT_NEAR(level->laserBeams[1]->endPoint()[2], end[2] - 100, 1e-2);
    EXPECT_NEAR(level->laserBeams[1]->endPoint()[0], 1990, 1e-2);
    // Turned the other way: the light now leaves along -x, into empty space.
    mirror.rotateY(static_cast<float>(-PI / 2));
    captureStdout([&] { updateLasers(*level); });
    ASSERT_EQ(level->laserBeams.size(), 2u);
    EXPECT_LT(level->laserBeams[1]->endPoint()[0], -4000);
    EXPECT_EQ(level->laserBeams[1]->hitObject, nullptr);
}

TEST_F(Tracing, ACollectorThatNoLightReachesSendsNothingEvenAsTheFirstElement) {
    const auto level = traced(std::string("@ COL\n") + BACK_WALL + "@ FIN\n# Pos 0;0;-300;\n");
    EXPECT_TRUE(level->laserBeams.empty());
    EXPECT_TRUE(all<Collector>(*level).front()->outgoingLasers.empty());
}
