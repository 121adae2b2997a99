#include "laser/Tracer.h"
#include "app/GameRules.h"
#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "elements/Wall.h"
#include "support/Beams.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

namespace {

class Tracing : public ::testing::Test {
  protected:
    void SetUp() override { loadTestModels(); }

    // Loads the level and runs one update.
    std::unique_ptr<Level> traced(const std::string& text) {
        auto level = levelFromText(text);
        output = captureStdout([&] { updateLasers(*level); });
        return level;
    }
    std::string output;
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

// The mixing bench: a half mirror splits the white beam; the transmitted half passes filter
// FIRST and is turned to +x at z = -600 by a mirror; the reflected half passes filter SECOND on
// its way along +x and is turned down -z at x = 600. Both reach the collector at (600, 0, -600),
// the transmitted one first, and its output meets filter BEHIND at z = -800.
std::string mixingBench(int first, int second, int behind) {
    std::ostringstream s;
    s << "@ EMI\n"
      << "@ HMI\n# Pos 0;0;-200;\n# YRo 45;\n"
      << THIN << "@ FIL\n# Pos 0;0;-400;\n# Col " << first << "\n"
      << "@ MIR\n# Pos 0;0;-600;\n# YRo 45;\n"
      << THIN << "@ FIL\n# Pos 300;0;-200;\n# YRo 90;\n# Col " << second << "\n"
      << "@ MIR\n# Pos 600;0;-200;\n# YRo 45;\n"
      << THIN << "@ COL\n# Pos 600;0;-600;\n"
      << "@ FIL\n# Pos 600;0;-800;\n# Col " << behind << "\n"
      << BACK_WALL;
    return s.str();
}

} // namespace

TEST_F(Tracing, EmitterIntoEmptySpaceGivesOneLongSegment) {
    auto level = traced(EMITTER);
    ASSERT_EQ(level->laserBeams.size(), 1u);
    LaserBeam* s = level->laserBeams[0];
    EXPECT_NEAR(length(s), DEFAULT_BEAM_LENGTH, 1e-2);
    EXPECT_NEAR(s->endPoint()[2], -5000, 1e-2);
    EXPECT_EQ(s->hitObject, nullptr);
    EXPECT_EQ(s->colorCode, COLOR_WHITE);
    EXPECT_EQ(s->intensity, FULL_INTENSITY);
    EXPECT_EQ(level->objects.back(), s);
}

TEST_F(Tracing, OnlyTheFirstActiveObjectStartsLight) {
    auto level = traced(std::string(BACK_WALL) + EMITTER);
    EXPECT_TRUE(level->laserBeams.empty());
}

TEST_F(Tracing, EmitterFiresOncePerUpdate) {
    auto level = levelFromText(EMITTER);
    Emitter& e = *dynamic_cast<Emitter*>(level->activeObjects[0]);
    EXPECT_TRUE(e.emitOutgoingLasers(*level));
    EXPECT_FALSE(e.emitOutgoingLasers(*level));
    EXPECT_EQ(e.outgoingLasers.size(), 1u);
}

TEST_F(Tracing, ScaledEmitterStillShootsAUnitBeam) {
    auto level = traced("@ EMI\n# Sca 3;3;3;\n# Pos 0;0;100;\n");
    ASSERT_EQ(level->laserBeams.size(), 1u);
    EXPECT_NEAR(length(level->laserBeams[0]), DEFAULT_BEAM_LENGTH, 0.05);
    EXPECT_NEAR(level->laserBeams[0]->startPoint()[2], 100, 1e-3);
}

TEST_F(Tracing, UpdatesReplaceTheSegmentsOfTheLastOne) {
    auto level =
        levelFromText(std::string(EMITTER) + "@ MIR\n# Pos 0;0;-300;\n# YRo 45;\n" + BACK_WALL);
    const std::size_t objects = level->objects.size();
    captureStdout([&] { updateLasers(*level); });
    const std::size_t segments = level->laserBeams.size();
    captureStdout([&] { updateLasers(*level); });
    EXPECT_EQ(level->laserBeams.size(), segments);
    EXPECT_EQ(level->objects.size(), objects + segments);
    EXPECT_EQ(level->transparentSet->beams.size(), segments);
}

TEST_F(Tracing, WhiteThroughRedFilterStaysRedAtSameIntensity) {
    auto level = traced(std::string(EMITTER) + "@ FIL\n# Pos 0;0;-200;\n# Col 1\n" + BACK_WALL);
    ASSERT_EQ(level->laserBeams.size(), 2u);
    LaserBeam* in = level->laserBeams[0];
    LaserBeam* out = level->laserBeams[1];
    EXPECT_EQ(in->colorCode, 7);
    EXPECT_EQ(out->colorCode, 1);
    EXPECT_EQ(out->intensity, FULL_INTENSITY);
    EXPECT_NEAR(out->startPoint()[2], -200, 1e-3);
    EXPECT_NEAR(out->endPoint()[2], -1990, 1e-2);
    ASSERT_EQ(in->nextSegments.size(), 1u);
    EXPECT_EQ(in->nextSegments[0], out);
    // The segment changes sides of the filter: the filter's bit toggles.
    EXPECT_EQ(in->filterMask ^ out->filterMask, 1);
}

TEST_F(Tracing, RedThenGreenFilterStopsTheLight) {
    auto level = traced(std::string(EMITTER) + "@ FIL\n# Pos 0;0;-200;\n# Col 1\n" +
                        "@ FIL\n# Pos 0;0;-400;\n# Col 2\n" + BACK_WALL);
    ASSERT_EQ(level->laserBeams.size(), 2u);
    ColorFilter* green = level->colorFilters[1];
    EXPECT_EQ(green->incomingLasers.size(), 1u);
    EXPECT_TRUE(green->outgoingLasers.empty());
    EXPECT_TRUE(level->laserBeams[1]->nextSegments.empty());
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
    EXPECT_EQ(s[0]->hitObject, nullptr);
    EXPECT_EQ(s[1]->hitObject, nullptr);
    EXPECT_NE(dynamic_cast<Wall*>(s[2]->hitObject), nullptr);
    for (LaserBeam* segment : s) {
        EXPECT_EQ(segment->owner, level->activeObjects[0]);
        EXPECT_EQ(segment->colorCode, 7);
    }
}

TEST_F(Tracing, CrossingBehindTheStartSetsTheBitWithoutCutting) {
    // The plane lies behind the emitter, facing away from it: no cut, but the start lies behind.
    auto level = traced("@ EMI\n# Pos 0;0;-300;\n@ FIL\n# Pos 500;0;-100;\n# Col 7\n" +
                        std::string(BACK_WALL));
    ASSERT_EQ(level->laserBeams.size(), 1u);
    EXPECT_EQ(level->laserBeams[0]->filterMask, 0);
    auto facing = traced("@ EMI\n# Pos 0;0;-300;\n@ FIL\n# Pos 500;0;-100;\n# YRo 180;\n"
                         "# Col 7\n" +
                         std::string(BACK_WALL));
    ASSERT_EQ(facing->laserBeams.size(), 1u);
    EXPECT_EQ(facing->laserBeams[0]->filterMask, 1);
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

TEST_F(Tracing, QueryModeFindsTheNearestWallAndChangesNothing) {
    auto level = levelFromText("@ WAL\n# Pos 0;0;-500;\n@ WAL\n# Pos 0;0;-300;\n");
    auto probe = aimedBeam({0, 0, 0, 1}, {0, 0, -1, 0});
    float point[3] = {}, normal[3] = {};
    const int hit = traceLaser(*probe, point, normal, true, level->walls, *level);
    EXPECT_EQ(hit, 1);
    EXPECT_NEAR(point[2], -290, 1e-3);
    EXPECT_FLOAT_EQ(normal[2], 1);
    EXPECT_TRUE(level->laserBeams.empty());
    EXPECT_EQ(level->objects.size(), 2u);
    EXPECT_NEAR(length(probe.get()), 1, 1e-6);
    EXPECT_EQ(probe->hitObject, nullptr);
}

TEST_F(Tracing, MirrorTurnsTheBeamAndWeakensIt) {
    auto level = traced(std::string(EMITTER) + "@ MIR\n# Pos 0;0;-300;\n# YRo 45;\n");
    ASSERT_EQ(level->laserBeams.size(), 2u);
    LaserBeam* out = level->laserBeams[1];
    EXPECT_EQ(out->intensity, 30);
    const Point d = out->beamDirection();
    EXPECT_NEAR(d[0], 1, 1e-5);
    EXPECT_NEAR(d[2], 0, 1e-5);
    EXPECT_EQ(level->laserBeams[0]->nextSegments, std::vector<LaserBeam*>{out});
    EXPECT_FLOAT_EQ(out->vertexColors[3], 30 * 0.03125f);
}

TEST_F(Tracing, TheSixteenthMirrorOfAChainAbsorbs) {
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
    for (int i = 0; i < 15; ++i) {
        ASSERT_EQ(mirrors[i]->outgoingLasers.size(), 1u) << "mirror " << i + 1;
        EXPECT_EQ(mirrors[i]->outgoingLasers[0]->intensity, 30 - 2 * i);
    }
    EXPECT_EQ(mirrors[15]->incomingLasers.size(), 1u);
    EXPECT_TRUE(mirrors[15]->outgoingLasers.empty());
    EXPECT_EQ(mirrors[15]->absorbedCount, 1);
    EXPECT_TRUE(mirrors[16]->incomingLasers.empty());
    EXPECT_EQ(level->laserBeams.size(), 16u);
}

TEST_F(Tracing, TheThirteenthHalfMirrorAbsorbs) {
    std::ostringstream s;
    s << EMITTER;
    for (int i = 0; i < 14; ++i) {
        s << "@ HMI\n# Pos 0;0;" << -200 * (i + 1) << ";\n# YRo 45;\n";
    }
    auto level = traced(s.str());
    const auto halves = all<MirrorHalf>(*level);
    const int expected[] = {26, 21, 17, 14, 11, 9, 7, 5, 4, 3, 2, 1};
    for (int i = 0; i < 12; ++i) {
        ASSERT_EQ(halves[i]->outgoingLasers.size(), 2u) << "half mirror " << i + 1;
        EXPECT_EQ(halves[i]->outgoingLasers[0]->intensity, expected[i]);
        EXPECT_EQ(halves[i]->outgoingLasers[1]->intensity, expected[i]);
        const Point reflected = halves[i]->outgoingLasers[1]->beamDirection();
        EXPECT_NEAR(reflected[0], 1, 1e-5);
    }
    EXPECT_EQ(halves[12]->absorbedCount, 1);
    EXPECT_TRUE(halves[12]->outgoingLasers.empty());
    EXPECT_TRUE(halves[13]->incomingLasers.empty());
}

TEST_F(Tracing, RedAndBlueMixToOneMagentaOutputThatStaysRedBehindARedFilter) {
    auto level = traced(mixingBench(1, 4, 1));
    const auto collectors = all<Collector>(*level);
    ASSERT_EQ(collectors.size(), 1u);
    Collector& c = *collectors[0];
    ASSERT_EQ(c.incomingLasers.size(), 2u);
    EXPECT_EQ(c.incomingLasers[0]->colorCode, 1); // red arrived first
    EXPECT_EQ(c.incomingLasers[1]->colorCode, 4);
    ASSERT_EQ(c.outgoingLasers.size(), 1u);
    LaserBeam* out = c.outgoingLasers[0];
    EXPECT_EQ(out->colorCode, 5);
    EXPECT_EQ(out->intensity, FULL_INTENSITY);
    EXPECT_FLOAT_EQ(out->vertexColors[0], 1);
    EXPECT_FLOAT_EQ(out->vertexColors[2], 1);
    // Both arrivals link to the one output.
    for (LaserBeam* in : c.incomingLasers) {
        EXPECT_EQ(std::count(in->nextSegments.begin(), in->nextSegments.end(), out), 1);
    }
    ColorFilter* behind = level->colorFilters[2];
    ASSERT_EQ(behind->outgoingLasers.size(), 1u);
    EXPECT_EQ(behind->outgoingLasers[0]->colorCode, 1);
}

TEST_F(Tracing, FilterBehindACollectorStartsWhenItsColourArrives) {
    auto level = traced(mixingBench(1, 2, 2));
    Collector& c = *all<Collector>(*level)[0];
    ASSERT_EQ(c.outgoingLasers.size(), 1u);
    EXPECT_EQ(c.outgoingLasers[0]->colorCode, 3);
    ColorFilter* behind = level->colorFilters[2];
    ASSERT_EQ(behind->outgoingLasers.size(), 1u);
    LaserBeam* green = behind->outgoingLasers[0];
    EXPECT_EQ(green->colorCode, 2);
    EXPECT_NE(std::find(level->laserBeams.begin(), level->laserBeams.end(), green),
              level->laserBeams.end()); // traced and registered
    EXPECT_NE(dynamic_cast<Wall*>(green->hitObject), nullptr);
}

TEST_F(Tracing, HalfMirrorServesEachIncomingSegmentOnce) {
    auto level = levelFromText("@ HMI\n");
    auto& half = *dynamic_cast<MirrorHalf*>(level->activeObjects[0]);
    LaserBeam* in = level->newLaserBeam(COLOR_WHITE, FULL_INTENSITY, nullptr,
                                        aimedMatrix({0, 0, 100, 1}, {0, 0, -1, 0}));
    in->scale(1, 1, 90);
    half.incomingLasers.push_back(in);
    EXPECT_TRUE(half.emitOutgoingLasers(*level));
    EXPECT_EQ(half.outgoingLasers.size(), 2u);
    EXPECT_EQ(in->nextSegments.size(), 2u);
    EXPECT_FALSE(half.emitOutgoingLasers(*level));
    EXPECT_NEAR(half.outgoingLasers[0]->startPoint()[2], 10, 1e-4);
    EXPECT_NEAR(length(half.outgoingLasers[0]), 1, 1e-5);
}

TEST_F(Tracing, GoalWantsExactlyItsColour) {
    auto level = levelFromText("@ FIN\n# Col 3\n");
    FinshHead& goal = *level->goals[0];
    const auto beam = [&](signed char c) {
        return level->newLaserBeam(c, FULL_INTENSITY, nullptr);
    };
    EXPECT_FALSE(goal.isSatisfied()); // nothing arrived
    goal.incomingLasers = {beam(7)};
    EXPECT_FALSE(goal.isSatisfied());
    goal.incomingLasers = {beam(3), beam(7)};
    EXPECT_FALSE(goal.isSatisfied());
    goal.incomingLasers = {beam(3), beam(3)};
    EXPECT_TRUE(goal.isSatisfied());
    EXPECT_EQ(goal.door()->state, DOOR_OPENING);
    goal.door()->state = DOOR_OPEN;
    EXPECT_TRUE(goal.isSatisfied());
    EXPECT_EQ(goal.door()->state, DOOR_OPEN);
    goal.incomingLasers.clear();
    EXPECT_FALSE(goal.isSatisfied());
    EXPECT_EQ(goal.door()->state, DOOR_CLOSING);
}

TEST_F(Tracing, LevelIsSolvedWhenEveryGoalIsAndAllAreAsked) {
    Level empty;
    EXPECT_TRUE(isLevelSolved(empty));
    auto level = levelFromText("@ FIN\n# Col 1\n@ FIN\n# Col 2\n");
    FinshHead& red = *level->goals[0];
    FinshHead& green = *level->goals[1];
    green.incomingLasers = {level->newLaserBeam(2, FULL_INTENSITY, nullptr)};
    EXPECT_FALSE(isLevelSolved(*level));
    EXPECT_EQ(green.door()->state, DOOR_OPENING); // asked although the first goal failed
    red.incomingLasers = {level->newLaserBeam(1, FULL_INTENSITY, nullptr)};
    EXPECT_TRUE(isLevelSolved(*level));
}

TEST_F(Tracing, TheDefaultLevelTracesToItsGoalWhenSolved) {
    auto level = traced("@ EMI\n# Pos -300;0;300;\n@ MIR\n# Pos -300;0;-250;\n# YRo 45;\n"
                        "@ MIR\n# Pos 250;0;-250;\n# YRo -45;\n"
                        "@ FIL\n# Pos 0;0;-250;\n# YRo 90;\n# Col 1\n"
                        "@ FIN\n# Pos 250;0;250;\n# Col 1\n");
    EXPECT_TRUE(isLevelSolved(*level));
    EXPECT_EQ(level->laserBeams.size(), 4u);
    EXPECT_EQ(level->goals[0]->incomingLasers.size(), 1u);
}

TEST_F(Tracing, QueryModeFollowsAWallMovedBetweenProbes) {
    auto level = levelFromText("@ WAL\n# Pos 0;0;-500;\n@ EMI\n");
    auto probe = aimedBeam({0, 0, 0, 1}, {0, 0, -1, 0});
    float point[3] = {}, normal[3] = {};
    ASSERT_EQ(traceLaser(*probe, point, normal, true, level->walls, *level), 0);
    EXPECT_NEAR(point[2], -490, 1e-3);

    ActiveObject& wall = *level->walls[0];
    wall.translate(0, 0, 200);
    ASSERT_EQ(traceLaser(*probe, point, normal, true, level->walls, *level), 0);
    EXPECT_NEAR(point[2], -290, 1e-3);
    EXPECT_FLOAT_EQ(normal[2], 1);

    // A laser update in between changes nothing for the probe; a turn of the wall does: its
    // 200 wide side now faces the probe.
    captureStdout([&] { updateLasers(*level); });
    wall.rotateY(static_cast<float>(PI / 2));
    ASSERT_EQ(traceLaser(*probe, point, normal, true, level->walls, *level), 0);
    EXPECT_NEAR(point[2], -200, 1e-3);

    wall.translate(0, 1000, 0); // out of the way
    EXPECT_EQ(traceLaser(*probe, point, normal, true, level->walls, *level), -1);
}

TEST_F(Tracing, UpdateFollowsAMirrorMovedSinceTheLastOne) {
    const std::string side = "@ WAL\n# Pos 2000;0;0;\n# YRo 90;\n# Sca 30;30;1;\n";
    const auto mirrorAt = [&](int z, int yaw) {
        return std::string(EMITTER) + "@ MIR\n# Pos 0;0;" + std::to_string(z) + ";\n# YRo " +
               std::to_string(yaw) + ";\n" + BACK_WALL + side;
    };
    const auto expectSameSegments = [](const Level& a, const Level& b, float tolerance) {
        ASSERT_EQ(a.laserBeams.size(), b.laserBeams.size());
        for (std::size_t i = 0; i < a.laserBeams.size(); ++i) {
            const Point s1 = a.laserBeams[i]->startPoint(), s2 = b.laserBeams[i]->startPoint();
            const Point e1 = a.laserBeams[i]->endPoint(), e2 = b.laserBeams[i]->endPoint();
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(s1[c], s2[c], tolerance) << "segment " << i;
                EXPECT_NEAR(e1[c], e2[c], tolerance) << "segment " << i;
            }
            EXPECT_EQ(a.laserBeams[i]->hitObject == nullptr, b.laserBeams[i]->hitObject == nullptr);
        }
    };
    auto level = traced(mirrorAt(-300, 45));
    ASSERT_EQ(level->laserBeams.size(), 2u);
    const Point end = level->laserBeams[1]->endPoint();
    EXPECT_NEAR(end[0], 1990, 1e-2);              // on the side wall
    captureStdout([&] { updateLasers(*level); }); // unchanged scene, unchanged segments
    EXPECT_EQ(level->laserBeams[1]->endPoint(), end);

    // Moved through the mirror itself: the move reaches its holder.
    ActiveObject& mirror = *level->activeObjects[1];
    mirror.translate(0, 0, -100);
    captureStdout([&] { updateLasers(*level); });
    expectSameSegments(*level, *traced(mirrorAt(-400, 45)), 0);

    // Turned the other way: the light now leaves along -x, into empty space.
    mirror.rotateY(static_cast<float>(-PI / 2));
    captureStdout([&] { updateLasers(*level); });
    expectSameSegments(*level, *traced(mirrorAt(-400, -45)), 0.01f);
    EXPECT_LT(level->laserBeams[1]->endPoint()[0], -4000);
}
