#include "laser/HitShapes.h"
#include "core/ActiveObject.h"
#include "model/GameModels.h"
#include "support/Beams.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace {

class Element : public ActiveObject {
  public:
    Model* getModel() override { return gameModels().mirror.get(); }
};

class HitShapes : public ::testing::Test {
  protected:
    void SetUp() override { loadTestModels(); }
    Element owner;
};

// The square |x|, |y| <= 10 in the plane z = 0, facing +z.
std::unique_ptr<HitArea> square(Renderable* owner) {
    return std::make_unique<HitArea>(owner, Point{-10, -10, 0, 1}, Point{10, -10, 0, 1},
                                     Point{-10, 10, 0, 1});
}

float dot(const float* a, const float* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// The face test worked out afresh from the owner's world matrix at every call, step by step as
// the definition of the face goes: the reference for the face kept in world space between tests.
bool freshAreaHit(const HitArea& area, const Ray& ray, float& distance, float* point, float* normal,
                  bool lineOnly) {
    const Matrix w = area.owner->getWorldMatrix();
    Point a0 = area.corner0, a1 = area.corner1, a2 = area.corner2;
    transformPoint(w, a0);
    transformPoint(w, a1);
    transformPoint(w, a2);
    const float e1[3] = {a1[0] - a0[0], a1[1] - a0[1], a1[2] - a0[2]};
    const float e2[3] = {a2[0] - a0[0], a2[1] - a0[1], a2[2] - a0[2]};
    const float n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                        e1[0] * e2[1] - e1[1] * e2[0]};
    const float length = sqrtD(dot(n, n));
    const float nHat[3] = {n[0] / length, n[1] / length, n[2] / length};
    const Point& d = ray.direction;
    const Point& o = ray.origin;
    const float den = dot(d.data(), nHat);
    if (den > 0.0f) {
        return false;
    }
    const float tt = (dot(nHat, a0.data()) - dot(nHat, o.data())) / den;
    if (lineOnly) {
        distance = tt;
        return true;
    }
    if (tt < 0.0f) {
        return false;
    }
    const float q[3] = {o[0] + tt * d[0] - a0[0], o[1] + tt * d[1] - a0[1],
                        o[2] + tt * d[2] - a0[2]};
    constexpr float eps = 1e-5f;
    const int p = std::fabs(n[0]) > eps ? 1 : 0;
    const int r = std::fabs(n[0]) > eps || std::fabs(n[1]) > eps ? 2 : 1;
    float u, v;
    if (e1[p] > eps || e1[p] < -eps) {
        v = (q[r] * e1[p] - q[p] * e1[r]) / (e2[r] * e1[p] - e1[r] * e2[p]);
        u = (q[p] - e2[p] * v) / e1[p];
    } else {
        v = (q[r] * e2[p] - q[p] * e2[r]) / (e1[r] * e2[p] - e2[r] * e1[p]);
        u = (q[p] - e1[p] * v) / e2[p];
    }
    if (u < 0.0f || u > 1.0f || v < 0.0f || v > 1.0f || !(distance > tt)) {
        return false;
    }
    distance = tt;
    for (int i = 0; i < 3; ++i) {
        normal[i] = nHat[i];
        point[i] = o[i] + tt * d[i];
    }
    return true;
}

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A ray from its start towards a point.
Ray rayTowards(const Point& from, const Point& to) {
    return aimedBeam(from, {to[0] - from[0], to[1] - from[1], to[2] - from[2], 0})->ray();
}

} // namespace

TEST_F(HitShapes, AreaHitGivesDistancePointAndNormal) {
    auto area = square(&owner);
    auto beam = aimedBeam({3, 4, 50, 1}, {0, 0, -1, 0});
    float d = NO_HIT_DISTANCE, p[3] = {}, n[3] = {};
    ASSERT_TRUE(area->hit(beam->ray(), d, p, n, false));
    EXPECT_FLOAT_EQ(d, 50);
    EXPECT_FLOAT_EQ(p[0], 3);
    EXPECT_FLOAT_EQ(p[1], 4);
    EXPECT_NEAR(p[2], 0, 1e-5);
    EXPECT_FLOAT_EQ(n[2], 1);
    // Only a strictly nearer hit counts.
    d = 50;
    EXPECT_FALSE(area->hit(beam->ray(), d, p, n, false));
}

TEST_F(HitShapes, AreaEdgesBelongToTheFace) {
    auto area = square(&owner);
    for (Point start : {Point{10, 0, 5, 1}, Point{-10, 10, 5, 1}, Point{0, -10, 5, 1}}) {
        auto beam = aimedBeam(start, {0, 0, -1, 0});
        float d = NO_HIT_DISTANCE, p[3], n[3];
        EXPECT_TRUE(area->hit(beam->ray(), d, p, n, false)) << start[0] << "," << start[1];
    }
    auto outside = aimedBeam({10.01f, 0, 5, 1}, {0, 0, -1, 0});
    float d = NO_HIT_DISTANCE, p[3], n[3];
    EXPECT_FALSE(area->hit(outside->ray(), d, p, n, false));
}

TEST_F(HitShapes, AreaIsOneSided) {
    auto area = square(&owner);
    auto fromBehind = aimedBeam({0, 0, -50, 1}, {0, 0, 1, 0});
    float d = NO_HIT_DISTANCE, p[3], n[3];
    EXPECT_FALSE(area->hit(fromBehind->ray(), d, p, n, false));
    EXPECT_FALSE(
        area->hit(fromBehind->ray(), d, nullptr, nullptr, true)); // rejected in line mode too
    EXPECT_EQ(d, NO_HIT_DISTANCE);
}

TEST_F(HitShapes, LineModeReturnsThePlaneDistanceWhateverItIs) {
    auto area = square(&owner);
    // Starts behind the face and points away from it, against its normal.
    auto beam = aimedBeam({500, 0, -20, 1}, {0, 0, -1, 0});
    float d = NO_HIT_DISTANCE, p[3] = {7, 7, 7}, n[3] = {7, 7, 7};
    EXPECT_FALSE(area->hit(beam->ray(), d, p, n, false));
    ASSERT_TRUE(area->hit(beam->ray(), d, nullptr, nullptr, true));
    EXPECT_FLOAT_EQ(d, -20); // outside the square and behind the start: no checks at all
    EXPECT_EQ(p[0], 7);
}

TEST_F(HitShapes, AreaFollowsItsOwner) {
    auto area = square(&owner);
    owner.translate(100, 0, 0);
    owner.rotateY(static_cast<float>(PI / 2)); // now faces +x
    auto beam = aimedBeam({150, 2, -3, 1}, {-1, 0, 0, 0});
    float d = NO_HIT_DISTANCE, p[3], n[3];
    ASSERT_TRUE(area->hit(beam->ray(), d, p, n, false));
    EXPECT_NEAR(d, 50, 1e-4);
    EXPECT_NEAR(n[0], 1, 1e-6);
}

TEST_F(HitShapes, BothSolvingBranchesAgreeWithTheGeneralFormula) {
    // Plane x = 0 (normal along x), first edge along z: solved in (y, z).
    HitArea yz(&owner, {0, 0, 0, 1}, {0, 0, 10, 1}, {0, 10, 0, 1});
    auto beam = aimedBeam({-30, 4, 6, 1}, {1, 0, 0, 0});
    float d = NO_HIT_DISTANCE, p[3], n[3];
    ASSERT_TRUE(yz.hit(beam->ray(), d, p, n, false));
    EXPECT_FLOAT_EQ(d, 30);
    EXPECT_FLOAT_EQ(p[1], 4);
    EXPECT_FLOAT_EQ(p[2], 6);
    auto miss = aimedBeam({-30, 4, 11, 1}, {1, 0, 0, 0});
    d = NO_HIT_DISTANCE;
    EXPECT_FALSE(yz.hit(miss->ray(), d, p, n, false));

    // Plane z = 0 with its first edge along y (e1.x = 0): the exchanged solve.
    HitArea swapped(&owner, {0, 0, 0, 1}, {0, 10, 0, 1}, {10, 0, 0, 1});
    auto down = aimedBeam({7, 2, -40, 1}, {0, 0, 1, 0});
    d = NO_HIT_DISTANCE;
    ASSERT_TRUE(swapped.hit(down->ray(), d, p, n, false));
    EXPECT_FLOAT_EQ(d, 40);
    EXPECT_FLOAT_EQ(p[0], 7);
    auto aside = aimedBeam({7, 10.5f, -40, 1}, {0, 0, 1, 0});
    d = NO_HIT_DISTANCE;
    EXPECT_FALSE(swapped.hit(aside->ray(), d, p, n, false));
}

TEST_F(HitShapes, SphereTangentAndRightAngleCases) {
    HitSphere sphere(&owner, {0, 0, -100, 1}, 10);
    // The ray along x through (0, 0, -90) touches the sphere: its centre is 90 degrees off the
    // ray at exactly the radius.
    auto tangent = aimedBeam({0, 0, -90, 1}, {1, 0, 0, 0});
    float d = NO_HIT_DISTANCE;
    EXPECT_TRUE(sphere.hit(tangent->ray(), d, nullptr, nullptr, false));
    auto past = aimedBeam({0, 0, -89.9f, 1}, {1, 0, 0, 0});
    d = NO_HIT_DISTANCE;
    EXPECT_FALSE(sphere.hit(past->ray(), d, nullptr, nullptr, false));
    // Centre exactly 90 degrees off the ray, within the radius: tested (only angles above a
    // right angle are rejected), and a hit.
    auto sideways = aimedBeam({0, 0, -95, 1}, {1, 0, 0, 0});
    d = NO_HIT_DISTANCE;
    EXPECT_TRUE(sphere.hit(sideways->ray(), d, nullptr, nullptr, false));
    // Centre behind the start.
    auto away = aimedBeam({0, 0, -95, 1}, {0, 0, 1, 0});
    d = NO_HIT_DISTANCE;
    EXPECT_FALSE(sphere.hit(away->ray(), d, nullptr, nullptr, false));
}

TEST_F(HitShapes, SphereDistanceIsTheEstimateAndIgnoresScale) {
    owner.scale(5, 5, 5);
    HitSphere sphere(&owner, {0, 0, -20, 1}, 10); // centre at z = -100 after scaling
    auto beam = aimedBeam({0, 0, 0, 1}, {0, 0, -1, 0});
    float d = NO_HIT_DISTANCE, p[3] = {1, 2, 3};
    ASSERT_TRUE(sphere.hit(beam->ray(), d, p, nullptr, false));
    EXPECT_NEAR(d, 90, 1e-3); // straight at the centre: D - radius
    EXPECT_EQ(p[0], 1);       // spheres write no point
    // Off-axis the estimate is sqrt(D^2 + r^2 - 2 D r cos(asin(p / r))).
    auto offset = aimedBeam({6, 0, 0, 1}, {0, 0, -1, 0});
    d = NO_HIT_DISTANCE;
    ASSERT_TRUE(sphere.hit(offset->ray(), d, nullptr, nullptr, false));
    const double D = std::sqrt(36.0 + 10000.0);
    const double off = 6.0;
    const double expected = std::sqrt(D * D + 100 - std::cos(std::asin(off / 10)) * 2 * D * 10);
    EXPECT_NEAR(d, expected, 1e-2);
}

TEST_F(HitShapes, HitTestPrefersBlockingOnTiesAndReportsNearest) {
    owner.blockingShapes.push_back(square(&owner));
    owner.activeShapes.push_back(square(&owner));
    auto beam = aimedBeam({0, 0, 30, 1}, {0, 0, -1, 0});
    float d = -1, p[3], n[3];
    EXPECT_EQ(owner.hitTest(beam->ray(), d, p, n), HIT_BLOCKING);
    EXPECT_FLOAT_EQ(d, 30);

    // An active face in front of the blocking one wins.
    owner.activeShapes.push_back(std::make_unique<HitArea>(
        &owner, Point{-10, -10, 5, 1}, Point{10, -10, 5, 1}, Point{-10, 10, 5, 1}));
    EXPECT_EQ(owner.hitTest(beam->ray(), d, p, n), HIT_ACTIVE);
    EXPECT_FLOAT_EQ(d, 25);
    EXPECT_NEAR(p[2], 5, 1e-5);
}

TEST_F(HitShapes, HitTestWithoutHitLeavesOutputsAlone) {
    owner.blockingShapes.push_back(square(&owner));
    auto beam = aimedBeam({50, 50, 30, 1}, {0, 0, -1, 0});
    float d = 123, p[3] = {1, 2, 3}, n[3] = {4, 5, 6};
    EXPECT_EQ(owner.hitTest(beam->ray(), d, p, n), HIT_NONE);
    EXPECT_EQ(d, 123);
    EXPECT_EQ(p[2], 3);
    EXPECT_EQ(n[0], 4);
}

TEST_F(HitShapes, SphereHitKeepsTheLastFacePointAndNormal) {
    owner.blockingShapes.push_back(square(&owner));
    owner.activeShapes.push_back(std::make_unique<HitSphere>(&owner, Point{0, 0, 20, 1}, 2));
    auto beam = aimedBeam({0, 0, 40, 1}, {0, 0, -1, 0});
    float d = 0, p[3] = {9, 9, 9}, n[3] = {9, 9, 9};
    EXPECT_EQ(owner.hitTest(beam->ray(), d, p, n), HIT_ACTIVE);
    EXPECT_NEAR(d, 18, 1e-3);
    EXPECT_NEAR(p[2], 0, 1e-5); // from the square behind the sphere
    EXPECT_FLOAT_EQ(n[2], 1);
}

TEST_F(HitShapes, BoundingSpherePreTestWritesItsEstimate) {
    owner.translate(0, 0, -300);
    auto beam = aimedBeam({0, 0, 0, 1}, {0, 0, -1, 0});
    float d = -1;
    ASSERT_TRUE(owner.hitsBoundingSphere(beam->ray(), d));
    EXPECT_NEAR(d, 300 - owner.getBoundingRadius(), 1e-2);
    auto wide = aimedBeam({owner.getBoundingRadius() + 1, 0, 0, 1}, {0, 0, -1, 0});
    EXPECT_FALSE(owner.hitsBoundingSphere(wide->ray(), d));
}

TEST_F(HitShapes, AreaFollowsItsOwnerAndItsOwnersParentBetweenTests) {
    Element holder, element;
    addChild(&holder, &element);
    auto area = square(&element);
    auto beam = aimedBeam({3, 4, 50, 1}, {0, 0, -1, 0});
    float d = NO_HIT_DISTANCE, p[3], n[3];
    ASSERT_TRUE(area->hit(beam->ray(), d, p, n, false));
    EXPECT_FLOAT_EQ(d, 50);

    element.translate(0, 0, -20); // the owner itself
    d = NO_HIT_DISTANCE;
    ASSERT_TRUE(area->hit(beam->ray(), d, p, n, false));
    EXPECT_FLOAT_EQ(d, 70);

    holder.translate(100, 0, 0); // its parent: the square leaves the ray
    d = NO_HIT_DISTANCE;
    EXPECT_FALSE(area->hit(beam->ray(), d, p, n, false));
    auto moved = aimedBeam({103, 4, 50, 1}, {0, 0, -1, 0});
    ASSERT_TRUE(area->hit(moved->ray(), d, p, n, false));
    EXPECT_FLOAT_EQ(d, 70);
    EXPECT_FLOAT_EQ(p[0], 103);

    holder.rotateY(static_cast<float>(PI)); // now it faces away from the ray
    d = NO_HIT_DISTANCE;
    EXPECT_FALSE(area->hit(moved->ray(), d, p, n, false));
}

TEST_F(HitShapes, KeptFaceGivesTheResultsOfAFaceWorkedOutAfresh) {
    // Faces on a moving mounted element, rays from all around: whether hit, and the distance,
    // point and normal, bit for bit; in line mode too.
    std::mt19937 random(20240611);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    Element holder, element;
    addChild(&holder, &element);
    HitArea faces[] = {
        {&element, {-87, -87, 10, 1}, {87, -87, 10, 1}, {-87, 87, 10, 1}},
        {&element, {-87, -87, -10, 1}, {-87, -87, 10, 1}, {87, -87, -10, 1}},
        {&element, {0, 0, 0, 1}, {0, 0, 10, 1}, {0, 10, 0, 1}},
        {&element, {0, 0, 0, 1}, {0, 10, 0, 1}, {10, 0, 0, 1}},
    };
    int hits = 0, lines = 0;
    for (int round = 0; round < 40; ++round) {
        switch (round % 4) { // move something between the rounds, the holder or the element
        case 0:
            holder.translate(300 * unit(random), 300 * unit(random), 300 * unit(random));
            break;
        case 1:
            holder.rotateY(3 * unit(random));
            break;
        case 2:
            element.rotateX(3 * unit(random));
            break;
        default:
            element.scale(1 + 0.5f * unit(random), 1 + 0.5f * unit(random), 1);
        }
        const Point centre = element.getBoundingCenter();
        for (int i = 0; i < 200; ++i) {
            const Point from{centre[0] + 400 * unit(random), centre[1] + 400 * unit(random),
                             centre[2] + 400 * unit(random), 1};
            const Point to{centre[0] + 120 * unit(random), centre[1] + 120 * unit(random),
                           centre[2] + 120 * unit(random), 1};
            const Ray ray = rayTowards(from, to);
            for (HitArea& face : faces) {
                for (const bool lineOnly : {false, true}) {
                    float d1 = NO_HIT_DISTANCE, d2 = NO_HIT_DISTANCE;
                    float p1[3] = {}, p2[3] = {}, n1[3] = {}, n2[3] = {};
                    const bool hit1 = face.hit(ray, d1, p1, n1, lineOnly);
                    const bool hit2 = freshAreaHit(face, ray, d2, p2, n2, lineOnly);
                    ASSERT_EQ(hit1, hit2) << "round " << round << " ray " << i;
                    ASSERT_TRUE(sameBits(d1, d2)) << d1 << " " << d2;
                    for (int c = 0; c < 3; ++c) {
                        ASSERT_TRUE(sameBits(p1[c], p2[c]) && sameBits(n1[c], n2[c]));
                    }
                    (lineOnly ? lines : hits) += hit1;
                }
            }
        }
    }
    // Both outcomes were seen often.
    EXPECT_GT(hits, 500);
    EXPECT_GT(lines, 5000);
}

TEST_F(HitShapes, QuickSphereRejectionLeavesTheBoundaryToTheExactTest) {
    const Point k{0, 0, -100, 1};
    const float r = 10;
    const Point alongX{1, 0, 0, 0};
    float d = -1;
    // Tangent, the centre ahead: the line passes exactly at the radius.
    EXPECT_FALSE(sphereClearlyMissed({-50, 10, -100, 1}, alongX, k, r));
    // Just outside, within the margin: left to the exact test, which turns it away.
    EXPECT_FALSE(sphereClearlyMissed({-50, 10.004f, -100, 1}, alongX, k, r));
    EXPECT_FALSE(sphereDistance({-50, 10.004f, -100, 1}, alongX, k, r, d));
    // Well outside.
    EXPECT_TRUE(sphereClearlyMissed({-50, 10.5f, -100, 1}, alongX, k, r));
    // The centre exactly at a right angle from the start, within the radius: not behind, and a
    // hit (only angles above a right angle turn the ray away).
    EXPECT_FALSE(sphereClearlyMissed({0, 0, -95, 1}, alongX, k, r));
    EXPECT_TRUE(sphereDistance({0, 0, -95, 1}, alongX, k, r, d));
    // Tangent at a right angle.
    EXPECT_FALSE(sphereClearlyMissed({0, 0, -90, 1}, alongX, k, r));
    EXPECT_TRUE(sphereDistance({0, 0, -90, 1}, alongX, k, r, d));
    // Centre behind the start, even with the start inside the sphere.
    EXPECT_TRUE(sphereClearlyMissed({0, 0, -95, 1}, {0, 0, 1, 0}, k, r));
    EXPECT_TRUE(sphereClearlyMissed({-5, 0, -95, 1}, {0.6f, 0, 0.8f, 0}, k, r));
    EXPECT_FALSE(sphereDistance({0, 0, -95, 1}, {0, 0, 1, 0}, k, r, d));
    // Barely behind (a cosine of -1e-6): left to the exact test, which turns it away.
    const Point barely{1, 0, 1e-6f, 0};
    EXPECT_FALSE(sphereClearlyMissed({0, 0, -95, 1}, barely, k, r));
    EXPECT_FALSE(exactSphereDistance({0, 0, -95, 1}, barely, k, r, d));
    // Nothing is turned away for a direction far from unit length or values that are not
    // finite.
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(sphereClearlyMissed({-50, 50, -100, 1}, {0, 0, 0, 0}, k, r));
    EXPECT_FALSE(sphereClearlyMissed({-50, 50, -100, 1}, {3, 0, 0, 0}, k, r));
    EXPECT_FALSE(sphereClearlyMissed({-50, 50, -100, 1}, {nan, 0, 0, 0}, k, r));
    EXPECT_FALSE(sphereClearlyMissed({-inf, 50, -100, 1}, alongX, k, r));
    EXPECT_FALSE(sphereClearlyMissed({-50, 50, -100, 1}, alongX, k, nan));
    EXPECT_FALSE(sphereClearlyMissed({-50, 50, -100, 1}, alongX, k, inf));
}

TEST_F(HitShapes, QuickSphereRejectionNeverTurnsAwayWhatTheExactTestAccepts) {
    // Rays passing near the boundary (at the radius within a few thousandths, and with the
    // centre near a right angle), at distances from 1 to 1e6 and radii from 1e-3 to 1e4.
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::uniform_real_distribution<float> exponent(0.0f, 1.0f);
    int rejected = 0, accepted = 0;
    for (int i = 0; i < 200000; ++i) {
        const float radius = std::pow(10.0f, -3 + 7 * exponent(random));
        const float distance = std::pow(10.0f, 6 * exponent(random));
        const float offLine = radius * (1 + 0.004f * unit(random)) * (i % 5 == 0 ? 0.5f : 1.0f);
        const float along = i % 3 == 0 ? distance * 1e-4f * unit(random) : distance;
        const Point k{1000 * unit(random), 1000 * unit(random), 1000 * unit(random), 1};
        // An orthonormal pair from a random direction.
        float dir[3] = {unit(random), unit(random), unit(random)};
        const float len = std::sqrt(dot(dir, dir));
        if (len < 0.1f) {
            continue;
        }
        for (float& c : dir) {
            c /= len;
        }
        const float helper[3] = {std::fabs(dir[0]) < 0.9f ? 1.0f : 0.0f,
                                 std::fabs(dir[0]) < 0.9f ? 0.0f : 1.0f, 0.0f};
        float side[3] = {dir[1] * helper[2] - dir[2] * helper[1],
                         dir[2] * helper[0] - dir[0] * helper[2],
                         dir[0] * helper[1] - dir[1] * helper[0]};
        const float sideLength = std::sqrt(dot(side, side));
        for (float& c : side) {
            c /= sideLength;
        }
        const Point origin{k[0] - along * dir[0] + offLine * side[0],
                           k[1] - along * dir[1] + offLine * side[1],
                           k[2] - along * dir[2] + offLine * side[2], 1};
        const Point direction{dir[0], dir[1], dir[2], 0};
        float exactDistance = -1, distanceOut = -1;
        const bool exact = exactSphereDistance(origin, direction, k, radius, exactDistance);
        const bool quick = sphereClearlyMissed(origin, direction, k, radius);
        ASSERT_FALSE(quick && exact) << "radius " << radius << " distance " << distance;
        ASSERT_EQ(sphereDistance(origin, direction, k, radius, distanceOut), exact);
        if (exact) {
            ASSERT_TRUE(sameBits(distanceOut, exactDistance));
        }
        rejected += quick;
        accepted += exact;
    }
    // The boundary was met from both sides, and the quick test did its part.
    EXPECT_GT(accepted, 20000);
    EXPECT_GT(rejected, 20000);
}
