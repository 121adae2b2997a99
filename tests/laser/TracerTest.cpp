#include "laser/Tracer.h"
#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Goal.h"
#include "elements/Mirror.h"
#include "elements/Wall.h"
#include "rules/GameRules.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

namespace {

using Tracing = WithGameModels;

template <class T> std::vector<T*> all(const Level& level) {
    std::vector<T*> found;
    for (Renderable* r : level.objects) {
        if (auto* t = dynamic_cast<T*>(r)) {
            found.push_back(t);
        }
    }
    return found;
}

// Emitter at the origin shooting along -z; a wall far behind stops the light.
const char* const EMITTER = "@ EMI\n";
const char* const BACK_WALL = "@ WAL\n# Pos 0;0;-2000;\n# Sca 30;30;1;\n";
// Squeezes a mirror's holder to a thin pane, so that reflections leave from (almost) the
// mirror's centre line and chains of them stay on their grid.
const char* const THIN = "# Sca 1;1;0.01;\n";

} // namespace

TEST_F(Tracing, OnlyTheFirstActiveObjectShootsOneLongSegmentPerUpdate) {
    auto level = tracedLevel(EMITTER);
    ASSERT_EQ(level->laserBeams.size(), 1u);
    LaserBeam* s = level->laserBeams[0];
    EXPECT_NEAR(s->endPoint()[2], -DEFAULT_BEAM_LENGTH, 1e-2);
    EXPECT_EQ(s->hitObject, nullptr);
    EXPECT_EQ(level->objects.back(), s);
    // A second update replaces the segments of the first.
    const std::size_t objects = level->objects.size();
    captureStdout([&] { updateLasers(*level); });
    EXPECT_EQ(level->laserBeams.size(), 1u);
    EXPECT_EQ(level->objects.size(), objects);
    EXPECT_EQ(level->transparentSet->beams.size(), 1u);
    EXPECT_TRUE(tracedLevel(std::string(BACK_WALL) + EMITTER)->laserBeams.empty());
    // A collector that no light reaches sends nothing, even as the first element.
    EXPECT_TRUE(tracedLevel("@ COL\n" + std::string(BACK_WALL) + "@ FIN\n")->laserBeams.empty());
}

TEST_F(Tracing, AFilterStopsTheColoursItDoesNotPass) {
    // (What a filter passes, at which intensity and with which mask, is the checker's segment
    // test.) Red, then green: nothing passes the second filter.
    auto level = tracedLevel(std::string(EMITTER) + "@ FIL\n# Pos 0;0;-200;\n# Col 1\n" +
                             "@ FIL\n# Pos 0;0;-400;\n# Col 2\n" + BACK_WALL);
    ASSERT_EQ(level->laserBeams.size(), 2u);
    EXPECT_EQ(level->colorFilters[1]->incomingLasers.size(), 1u);
    EXPECT_TRUE(level->colorFilters[1]->outgoingLasers.empty());
}

TEST_F(Tracing, TwoPlaneCrossingsCutTheBeamIntoThreeSegments) {
    // Filters beside the beam: only their unbounded planes are crossed.
    auto level = tracedLevel(std::string(EMITTER) + "@ FIL\n# Pos 500;0;-100;\n# Col 7\n" +
                             "@ FIL\n# Pos 500;0;-200;\n# Col 7\n" + BACK_WALL);
    ASSERT_EQ(level->laserBeams.size(), 3u);
    const auto& s = level->laserBeams;
    EXPECT_NEAR(s[0]->endPoint()[2], -100, 1e-3);
    EXPECT_NEAR(s[1]->endPoint()[2], -200, 1e-3);
    EXPECT_NEAR(s[2]->endPoint()[2], -1990, 1e-2);
    // The emitter starts behind both planes.
    EXPECT_EQ(s[0]->filterMask, 3);
    EXPECT_EQ(s[1]->filterMask, 2);
    EXPECT_EQ(s[2]->filterMask, 0);
    EXPECT_EQ(s[0]->nextSegments, std::vector<LaserBeam*>{s[1]});
    EXPECT_EQ(s[1]->hitObject, nullptr);
}

TEST_F(Tracing, BlockingHitEndsTheSegmentWithoutCallingTheElementAndTiesGoToTheEarlierOne) {
    // The collector turned round: its tube's blocking spheres face the emitter.
    auto level = tracedLevel(std::string(EMITTER) + "@ COL\n# Pos 0;0;-300;\n# YRo 180;\n");
    ASSERT_EQ(level->laserBeams.size(), 1u);
    auto* collector = dynamic_cast<Collector*>(level->activeObjects[1]);
    ASSERT_NE(collector, nullptr);
    EXPECT_EQ(level->laserBeams[0]->hitObject, collector);
    EXPECT_TRUE(collector->incomingLasers.empty());
    EXPECT_TRUE(collector->outgoingLasers.empty());
    EXPECT_GT(level->laserBeams[0]->endPoint()[2], -(300 - 110 + 12 + 1)); // at the tube's end
    // Of two equally near hits the earlier element's counts.
    level = tracedLevel(std::string(EMITTER) + "@ WAL\n# Pos 0;0;-300;\n@ WAL\n# Pos 0;0;-300;\n");
    EXPECT_EQ(level->laserBeams.at(0)->hitObject, level->activeObjects[1]);
}

TEST_F(Tracing, EveryMirrorWeakensTheBeamUntilTheSixteenthAndEveryHalfMirrorTheThirteenthAbsorbs) {
    // Thin mirrors at 45 degrees on a staircase (-z, +x, -z, +x, ...); half mirrors in a row along
    // -z, each passing one half on and turning the other, equally weakened, to +x.
    for (const int absorbing : {16, 13}) {
        const bool halves = absorbing == 13;
        std::ostringstream s;
        s << EMITTER;
        for (int i = 0; i <= absorbing; ++i) {
            const int x = halves ? 0 : 300 * ((i + 1) / 2);
            const int z = halves ? -200 * (i + 1) : -200 - 300 * (i / 2);
            s << (halves ? "@ HMI" : "@ MIR") << "\n# Pos " << x << ";0;" << z << ";\n# YRo 45;\n"
              << (halves ? "" : THIN);
        }
        auto level = tracedLevel(s.str());
        const auto mirrors = all<MirrorBase>(*level);
        ASSERT_EQ(mirrors.size(), absorbing + 1u);
        int before = FULL_INTENSITY;
        for (int i = 0; i + 1 < absorbing; ++i) {
            const auto& out = mirrors[i]->outgoingLasers;
            ASSERT_EQ(out.size(), halves ? 2u : 1u) << absorbing << ", mirror " << i + 1;
            EXPECT_EQ(out.front()->intensity, out.back()->intensity);
            EXPECT_LT(out.back()->intensity, before) << absorbing << ", mirror " << i + 1;
            before = out.back()->intensity;
        }
        EXPECT_EQ(mirrors[absorbing - 1]->absorbedCount, 1) << absorbing;
        EXPECT_TRUE(mirrors[absorbing - 1]->outgoingLasers.empty()) << absorbing;
        EXPECT_TRUE(mirrors[absorbing]->incomingLasers.empty()) << absorbing;
    }
}

TEST_F(Tracing, CollectorMixesArrivalsIntoOneOutputThatFiltersBehindItPass) {
    // A half mirror splits the white beam; the transmitted half passes a red filter and is
    // turned to +x at z = -600; the reflected half passes a blue filter on its way along +x and
    // is turned down -z at x = 600. Both reach the collector at (600, 0, -600), the red one
    // first. Red and blue make magenta, which stays red behind the red filter at z = -800.
    auto level = tracedLevel(
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
