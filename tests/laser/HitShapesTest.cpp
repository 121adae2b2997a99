#include "laser/HitShapes.h"
#include "core/ActiveObject.h"
#include "model/GameModels.h"
#include "support/Beams.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

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

} // namespace

TEST_F(HitShapes, AreaHitGivesDistancePointAndNormal) {
    auto area = square(&owner);
    auto beam = aimedBeam({3, 4, 50, 1}, {0, 0, -1, 0});
    float d = NO_HIT_DISTANCE, p[3] = {}, n[3] = {};
    ASSERT_TRUE(area->hit(*beam, d, p, n, false));
    EXPECT_FLOAT_EQ(d, 50);
    EXPECT_FLOAT_EQ(p[0], 3);
    EXPECT_FLOAT_EQ(p[1], 4);
    EXPECT_NEAR(p[2], 0, 1e-5);
    EXPECT_FLOAT_EQ(n[2], 1);
    // Only a strictly nearer hit counts.
    d = 50;
    EXPECT_FALSE(area->hit(*beam, d, p, n, false));
}

TEST_F(HitShapes, AreaEdgesBelongToTheFace) {
    auto area = square(&owner);
    for (Point start : {Point{10, 0, 5, 1}, Point{-10, 10, 5, 1}, Point{0, -10, 5, 1}}) {
        auto beam = aimedBeam(start, {0, 0, -1, 0});
        float d = NO_HIT_DISTANCE, p[3], n[3];
        EXPECT_TRUE(area->hit(*beam, d, p, n, false)) << start[0] << "," << start[1];
    }
    auto outside = aimedBeam({10.01f, 0, 5, 1}, {0, 0, -1, 0});
    float d = NO_HIT_DISTANCE, p[3], n[3];
    EXPECT_FALSE(area->hit(*outside, d, p, n, false));
}

TEST_F(HitShapes, AreaIsOneSided) {
    auto area = square(&owner);
    auto fromBehind = aimedBeam({0, 0, -50, 1}, {0, 0, 1, 0});
    float d = NO_HIT_DISTANCE, p[3], n[3];
    EXPECT_FALSE(area->hit(*fromBehind, d, p, n, false));
    EXPECT_FALSE(area->hit(*fromBehind, d, nullptr, nullptr, true)); // rejected in line mode too
    EXPECT_EQ(d, NO_HIT_DISTANCE);
}

TEST_F(HitShapes, LineModeReturnsThePlaneDistanceWhateverItIs) {
    auto area = square(&owner);
    // Starts behind the face and points away from it, against its normal.
    auto beam = aimedBeam({500, 0, -20, 1}, {0, 0, -1, 0});
    float d = NO_HIT_DISTANCE, p[3] = {7, 7, 7}, n[3] = {7, 7, 7};
    EXPECT_FALSE(area->hit(*beam, d, p, n, false));
    ASSERT_TRUE(area->hit(*beam, d, nullptr, nullptr, true));
    EXPECT_FLOAT_EQ(d, -20); // outside the square and behind the start: no checks at all
    EXPECT_EQ(p[0], 7);
}

TEST_F(HitShapes, AreaFollowsItsOwner) {
    auto area = square(&owner);
    owner.translate(100, 0, 0);
    owner.rotateY(static_cast<float>(PI / 2)); // now faces +x
    auto beam = aimedBeam({150, 2, -3, 1}, {-1, 0, 0, 0});
    float d = NO_HIT_DISTANCE, p[3], n[3];
    ASSERT_TRUE(area->hit(*beam, d, p, n, false));
    EXPECT_NEAR(d, 50, 1e-4);
    EXPECT_NEAR(n[0], 1, 1e-6);
}

TEST_F(HitShapes, BothSolvingBranchesAgreeWithTheGeneralFormula) {
    // Plane x = 0 (normal along x), first edge along z: solved in (y, z).
    HitArea yz(&owner, {0, 0, 0, 1}, {0, 0, 10, 1}, {0, 10, 0, 1});
    auto beam = aimedBeam({-30, 4, 6, 1}, {1, 0, 0, 0});
    float d = NO_HIT_DISTANCE, p[3], n[3];
    ASSERT_TRUE(yz.hit(*beam, d, p, n, false));
    EXPECT_FLOAT_EQ(d, 30);
    EXPECT_FLOAT_EQ(p[1], 4);
    EXPECT_FLOAT_EQ(p[2], 6);
    auto miss = aimedBeam({-30, 4, 11, 1}, {1, 0, 0, 0});
    d = NO_HIT_DISTANCE;
    EXPECT_FALSE(yz.hit(*miss, d, p, n, false));

    // Plane z = 0 with its first edge along y (e1.x = 0): the exchanged solve.
    HitArea swapped(&owner, {0, 0, 0, 1}, {0, 10, 0, 1}, {10, 0, 0, 1});
    auto down = aimedBeam({7, 2, -40, 1}, {0, 0, 1, 0});
    d = NO_HIT_DISTANCE;
    ASSERT_TRUE(swapped.hit(*down, d, p, n, false));
    EXPECT_FLOAT_EQ(d, 40);
    EXPECT_FLOAT_EQ(p[0], 7);
    auto aside = aimedBeam({7, 10.5f, -40, 1}, {0, 0, 1, 0});
    d = NO_HIT_DISTANCE;
    EXPECT_FALSE(swapped.hit(*aside, d, p, n, false));
}

TEST_F(HitShapes, SphereTangentAndRightAngleCases) {
    HitSphere sphere(&owner, {0, 0, -100, 1}, 10);
    // The ray along x through (0, 0, -90) touches the sphere: its centre is 90 degrees off the
    // ray at exactly the radius.
    auto tangent = aimedBeam({0, 0, -90, 1}, {1, 0, 0, 0});
    float d = NO_HIT_DISTANCE;
    EXPECT_TRUE(sphere.hit(*tangent, d, nullptr, nullptr, false));
    auto past = aimedBeam({0, 0, -89.9f, 1}, {1, 0, 0, 0});
    d = NO_HIT_DISTANCE;
    EXPECT_FALSE(sphere.hit(*past, d, nullptr, nullptr, false));
    // Centre exactly 90 degrees off the ray, within the radius: tested (only angles above a
    // right angle are rejected), and a hit.
    auto sideways = aimedBeam({0, 0, -95, 1}, {1, 0, 0, 0});
    d = NO_HIT_DISTANCE;
    EXPECT_TRUE(sphere.hit(*sideways, d, nullptr, nullptr, false));
    // Centre behind the start.
    auto away = aimedBeam({0, 0, -95, 1}, {0, 0, 1, 0});
    d = NO_HIT_DISTANCE;
    EXPECT_FALSE(sphere.hit(*away, d, nullptr, nullptr, false));
}

TEST_F(HitShapes, SphereDistanceIsTheEstimateAndIgnoresScale) {
    owner.scale(5, 5, 5);
    HitSphere sphere(&owner, {0, 0, -20, 1}, 10); // centre at z = -100 after scaling
    auto beam = aimedBeam({0, 0, 0, 1}, {0, 0, -1, 0});
    float d = NO_HIT_DISTANCE, p[3] = {1, 2, 3};
    ASSERT_TRUE(sphere.hit(*beam, d, p, nullptr, false));
    EXPECT_NEAR(d, 90, 1e-3); // straight at the centre: D - radius
    EXPECT_EQ(p[0], 1);       // spheres write no point
    // Off-axis the estimate is sqrt(D^2 + r^2 - 2 D r cos(asin(p / r))).
    auto offset = aimedBeam({6, 0, 0, 1}, {0, 0, -1, 0});
    d = NO_HIT_DISTANCE;
    ASSERT_TRUE(sphere.hit(*offset, d, nullptr, nullptr, false));
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
    EXPECT_EQ(owner.hitTest(*beam, d, p, n), HIT_BLOCKING);
    EXPECT_FLOAT_EQ(d, 30);

    // An active face in front of the blocking one wins.
    owner.activeShapes.push_back(std::make_unique<HitArea>(
        &owner, Point{-10, -10, 5, 1}, Point{10, -10, 5, 1}, Point{-10, 10, 5, 1}));
    EXPECT_EQ(owner.hitTest(*beam, d, p, n), HIT_ACTIVE);
    EXPECT_FLOAT_EQ(d, 25);
    EXPECT_NEAR(p[2], 5, 1e-5);
}

TEST_F(HitShapes, HitTestWithoutHitLeavesOutputsAlone) {
    owner.blockingShapes.push_back(square(&owner));
    auto beam = aimedBeam({50, 50, 30, 1}, {0, 0, -1, 0});
    float d = 123, p[3] = {1, 2, 3}, n[3] = {4, 5, 6};
    EXPECT_EQ(owner.hitTest(*beam, d, p, n), HIT_NONE);
    EXPECT_EQ(d, 123);
    EXPECT_EQ(p[2], 3);
    EXPECT_EQ(n[0], 4);
}

TEST_F(HitShapes, SphereHitKeepsTheLastFacePointAndNormal) {
    owner.blockingShapes.push_back(square(&owner));
    owner.activeShapes.push_back(std::make_unique<HitSphere>(&owner, Point{0, 0, 20, 1}, 2));
    auto beam = aimedBeam({0, 0, 40, 1}, {0, 0, -1, 0});
    float d = 0, p[3] = {9, 9, 9}, n[3] = {9, 9, 9};
    EXPECT_EQ(owner.hitTest(*beam, d, p, n), HIT_ACTIVE);
    EXPECT_NEAR(d, 18, 1e-3);
    EXPECT_NEAR(p[2], 0, 1e-5); // from the square behind the sphere
    EXPECT_FLOAT_EQ(n[2], 1);
}

TEST_F(HitShapes, BoundingSpherePreTestWritesItsEstimate) {
    owner.translate(0, 0, -300);
    auto beam = aimedBeam({0, 0, 0, 1}, {0, 0, -1, 0});
    float d = -1;
    ASSERT_TRUE(owner.hitsBoundingSphere(*beam, d));
    EXPECT_NEAR(d, 300 - owner.getBoundingRadius(), 1e-2);
    auto wide = aimedBeam({owner.getBoundingRadius() + 1, 0, 0, 1}, {0, 0, -1, 0});
    EXPECT_FALSE(owner.hitsBoundingSphere(*wide, d));
}
