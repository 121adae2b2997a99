#include "laser/HitShapes.h"
#include "elements/ActiveObject.h"
#include "model/GameModels.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

class Element : public ActiveObject {
  public:
    Model* getModel() override { return gameModels().mirror.get(); }
};

class HitShapes : public WithGameModels {
  protected:
    Element owner;
};

// The square |x|, |y| <= 10 in the plane z = 0, facing +z.
std::unique_ptr<HitArea> square(Renderable* owner, float z = 0) {
    return std::make_unique<HitArea>(owner, Point{-10, -10, z, 1}, Point{10, -10, z, 1},
                                     Point{-10, 10, z, 1});
}

const Point DOWN{0, 0, -1, 0};

} // namespace

TEST_F(HitShapes, FacesAndSpheresCaseByCase) {
    auto area = square(&owner);
    // Plane x = 0 (normal along x), first edge along z: solved in (y, z).
    HitArea yz(&owner, {0, 0, 0, 1}, {0, 0, 10, 1}, {0, 10, 0, 1});
    // Plane z = 0 with its first edge along y (e1.x = 0): the exchanged solve.
    HitArea swapped(&owner, {0, 0, 0, 1}, {0, 10, 0, 1}, {10, 0, 0, 1});
    HitSphere sphere(&owner, {0, 0, -100, 1}, 10);
    const Point UP{0, 0, 1, 0}, X{1, 0, 0, 0};
    const float ANY = NAN; // a sphere's distance is an estimate
    const struct {
        const char* name;
        HitObject& shape;
        Point start, direction;
        bool lineOnly, hit;
        float distance;
    } cases[] = {
        {"on an edge", *area, {10, 0, 5, 1}, DOWN, false, true, 5},
        {"on a corner", *area, {-10, 10, 5, 1}, DOWN, false, true, 5},
        {"on the lower edge", *area, {0, -10, 5, 1}, DOWN, false, true, 5},
        {"just past an edge", *area, {10.01f, 0, 5, 1}, DOWN, false, false, ANY},
        {"from behind", *area, {0, 0, -50, 1}, UP, false, false, ANY},
        {"from behind in line mode", *area, {0, 0, -50, 1}, UP, true, false, ANY},
        // Line mode gives the plane distance without the other checks.
        {"line mode beside and behind", *area, {500, 0, -20, 1}, DOWN, true, true, -20},
        {"solved in y and z", yz, {-30, 4, 6, 1}, X, false, true, 30},
        {"solved in y and z, past the edge", yz, {-30, 4, 11, 1}, X, false, false, ANY},
        {"exchanged solve", swapped, {7, 2, -40, 1}, UP, false, true, 40},
        {"exchanged solve, past the edge", swapped, {7, 10.5f, -40, 1}, UP, false, false, ANY},
        // The centre 90 degrees off the ray: at exactly the radius it touches, and within it,
        // only angles above a right angle are turned away.
        {"sphere touched", sphere, {0, 0, -90, 1}, X, false, true, ANY},
        {"sphere just missed", sphere, {0, 0, -89.9f, 1}, X, false, false, ANY},
        {"sphere at a right angle", sphere, {0, 0, -95, 1}, X, false, true, ANY},
        {"sphere behind the start", sphere, {0, 0, -95, 1}, UP, false, false, ANY},
    };
    for (const auto& c : cases) {
        float d = NO_HIT_DISTANCE, p[3], n[3];
        EXPECT_EQ(c.shape.hit({c.start, c.direction}, d, p, n, c.lineOnly), c.hit) << c.name;
        if (c.hit && !std::isnan(c.distance)) {
            EXPECT_FLOAT_EQ(d, c.distance) << c.name;
        }
    }
}

TEST_F(HitShapes, HitTestReportsTheStrictlyNearestFaceWithPointAndNormalBlockingOnTies) {
    owner.blockingShapes.push_back(square(&owner));
    owner.activeShapes.push_back(square(&owner)); // as near: no nearer hit
    const Ray beam{{3, 4, 30, 1}, DOWN};
    float d = -1, p[3], n[3];
    EXPECT_EQ(owner.hitTest(beam, d, p, n), HIT_BLOCKING);
    EXPECT_FLOAT_EQ(d, 30);
    owner.activeShapes.push_back(square(&owner, 5)); // an active face in front wins
    EXPECT_EQ(owner.hitTest(beam, d, p, n), HIT_ACTIVE);
    EXPECT_FLOAT_EQ(d, 25);
    EXPECT_EQ((std::vector<float>{p[0], p[1], n[0], n[1], n[2]}),
              (std::vector<float>{3, 4, 0, 0, 1}));
    EXPECT_NEAR(p[2], 5, 1e-5);

    // Without a hit the outputs stay as they were.
    const Ray miss{{50, 50, 30, 1}, DOWN};
    d = 123;
    p[2] = 3;
    EXPECT_EQ(owner.hitTest(miss, d, p, n), HIT_NONE);
    EXPECT_EQ(d, 123);
    EXPECT_EQ(p[2], 3);
}

TEST(SphereRejection, NeverTurnsAwayWhatTheExactTestHitsNorOddInput) {
    // Unit rays from around a sphere through points near its surface: grazing it from inside
    // and outside, some with the centre about a right angle behind the start.
    std::mt19937 random(3);
    std::uniform_real_distribution<float> u(-1, 1);
    const auto unit = [](Point p) {
        const float n = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        return Point{p[0] / n, p[1] / n, p[2] / n, 0};
    };
    const Point k{0, 0, -100, 1};
    int hits = 0, turnedAway = 0;
    for (int i = 0; i < 20000; ++i) {
        const Point from{40 * u(random), 40 * u(random), k[2] + 40 * u(random), 1};
        const Point n = unit({u(random), u(random), u(random), 0});
        const float reach = 10 * (1 + 0.01f * u(random));
        const Point d = unit(
            {reach * n[0] - from[0], reach * n[1] - from[1], k[2] + reach * n[2] - from[2], 0});
        float dist = 0;
        const bool hit = exactSphereDistance(from, d, k, 10, dist);
        const bool missed = sphereClearlyMissed(from, d, k, 10);
        ASSERT_FALSE(hit && missed) << i;
        hits += hit;
        turnedAway += missed;
    }
    EXPECT_GT(hits, 1000);
    EXPECT_GT(turnedAway, 500); // and it does turn rays away
    // Nothing is turned away for a direction far from unit length or values that are no number.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const Point& d : {Point{0, 0, 0, 0}, Point{3, 0, 0, 0}, Point{nan, 0, 0, 0}}) {
        EXPECT_FALSE(sphereClearlyMissed({-50, 50, -100, 1}, d, k, 10));
    }
    EXPECT_FALSE(sphereClearlyMissed({-INFINITY, 50, -100, 1}, {1, 0, 0, 0}, k, 10));
    EXPECT_FALSE(sphereClearlyMissed({-50, 50, -100, 1}, {1, 0, 0, 0}, k, nan));
}
