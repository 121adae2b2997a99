#include "elements/ColorFilter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "elements/Wall.h"
#include "laser/HitShapes.h"
#include "laser/Ray.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

using Elements = WithGameModels;

// A mounted element with its holder, as the loader builds it.
template <class T> struct Mounted {
    T element;
    Holder holder{&element};
    HolderFrame& frame() { return *holder.frame(); }
};

} // namespace

TEST_F(Elements, TurnAboutYReachesTheHolderTiltAboutXTheFrame) {
    Mounted<Mirror> t;
    t.element.rotateY(0.5f);
    t.element.rotateX(0.5f);
    EXPECT_EQ(t.element.localMatrix, Matrix::identity());
    EXPECT_NE(t.holder.localMatrix[0], 1); // the heading turned, not the tilt
    EXPECT_EQ(t.holder.localMatrix[5], 1);
    EXPECT_EQ(t.frame().localMatrix[0], 1); // the tilt, not the heading
    EXPECT_NE(t.frame().localMatrix[5], 1);

    // Moves, Z turns and resets from the mirror or the frame end at the holder too.
    t.element.translate(10, 0, 0);
    t.frame().rotateZ(0.2f);
    EXPECT_FLOAT_EQ(t.holder.localMatrix[12], 10);
    EXPECT_FLOAT_EQ(t.element.getWorldMatrix()[12], 10);
    t.element.resetTransform();
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(t.holder.localMatrix[i], Matrix::identity()[i], 1e-6);
    }
    EXPECT_NE(t.frame().localMatrix[5], 1); // the tilt stays
}

TEST_F(Elements, ColoursGoDownTexturesStopAtTheFrameAndAHalfMirrorIsCheckered) {
    // (Colours read from level files, mirrors that keep theirs and bad codes are the level
    // reader's tests.)
    Mounted<ColorFilter> f;
    f.holder.setColor(3);
    EXPECT_EQ(f.element.colorCode, 3);
    EXPECT_EQ(f.element.vertexColors[3], 0.5f); // translucent
    f.holder.setTexture(3);
    EXPECT_EQ(f.frame().textureIndex, 3);
    EXPECT_EQ(f.holder.textureIndex, 0);
    EXPECT_EQ(f.element.textureIndex, -1);
    MirrorHalf half; // its pane in two greys
    std::set<float> greys;
    for (std::size_t i = 0; i < half.vertexColors.size(); i += 4) {
        greys.insert(half.vertexColors[i]);
    }
    EXPECT_EQ(greys.size(), 2u);
}

TEST_F(Elements, WallsBlockMirrorsReflectOnBothFacesAndGoalsAreHitOnTheirSphere) {
    float d = 0, p[3] = {5, 5, 5}, n[3];
    // A wall is face-tested whatever its bounding sphere says.
    Wall wall;
    wall.translate(0, 0, -5000);
    EXPECT_TRUE(wall.hitsBoundingSphere({{0, 0, 0, 1}, {0, 0, 1, 0}}, d));
    EXPECT_EQ(wall.hitTest({{0, 0, 0, 1}, {0, 0, -1, 0}}, d, p, n), HIT_BLOCKING);
    EXPECT_NEAR(d, 4990, 1e-2);
    EXPECT_FLOAT_EQ(n[2], 1);

    // The mirror's holder and frame have no shapes: a beam passes through them.
    Mounted<Mirror> m;
    const Ray front{{0, 0, 100, 1}, {0, 0, -1, 0}};
    EXPECT_EQ(m.element.hitTest(front, d, p, n), HIT_ACTIVE);
    EXPECT_FLOAT_EQ(d, 90);
    EXPECT_EQ(m.element.hitTest({{0, 0, -100, 1}, {0, 0, 1, 0}}, d, p, n), HIT_ACTIVE);
    EXPECT_FLOAT_EQ(d, 90);
    EXPECT_EQ(m.element.hitTest({{0, 200, 0, 1}, {0, -1, 0, 0}}, d, p, n), HIT_BLOCKING);
    EXPECT_FLOAT_EQ(d, 113);
    EXPECT_EQ(m.holder.hitTest(front, d, p, n), HIT_NONE);
    EXPECT_EQ(m.frame().hitTest(front, d, p, n), HIT_NONE);

    FinshHead goal;
    p[0] = 5;
    EXPECT_EQ(goal.hitTest({{0, 0, 300, 1}, {0, 0, -1, 0}}, d, p, n), HIT_ACTIVE);
    EXPECT_NEAR(d, 300 - goal.getBoundingRadius(), 0.05);
    EXPECT_EQ(p[0], 5); // no point: the sphere is all there is
    EXPECT_EQ(goal.hitTest({{0, 100, 300, 1}, {0, 0, -1, 0}}, d, p, n), HIT_NONE);
}

TEST_F(Elements, DoorBlendsItsKeyFramesOpeningFullyAndClosingBack) {
    FinshHead goal;
    Finish& d = *goal.door();
    d.state = DOOR_OPENING;
    // Just opening: the first two key frames' shape, every point between them and nearer the
    // first.
    const Model* first = d.getModel();
    const Model& k0 = *gameModels().goalKeyframes[0];
    const Model& k1 = *gameModels().goalKeyframes[1];
    EXPECT_EQ(first->indices, k0.indices);
    for (std::size_t i = 0; i < first->positions.size(); i += 7) {
        const float p = first->positions[i], a = k0.positions[i], b = k1.positions[i];
        EXPECT_TRUE(std::min(a, b) - 1e-4f <= p && p <= std::max(a, b) + 1e-4f) << i;
        EXPECT_LE(std::fabs(p - a), std::fabs(p - b) + 1e-4f) << i;
    }
    const auto runWhile = [&](int state) {
        for (int calls = 0; d.state == state && calls < 100000; ++calls) {
            d.getModel();
        }
    };
    EXPECT_TRUE(d.isModelMoving());
    const std::uint64_t opening = d.modelVersion();
    runWhile(DOOR_OPENING);
    EXPECT_EQ(d.state, DOOR_OPEN);
    EXPECT_FALSE(d.isModelMoving());
    EXPECT_GT(d.modelVersion(), opening); // rebuilt on the way
    const float open = d.progress;
    const std::uint64_t standing = d.modelVersion();
    d.getModel();
    EXPECT_EQ(d.progress, open); // an open door stays
    EXPECT_EQ(d.modelVersion(), standing);
    d.state = DOOR_CLOSING;
    runWhile(DOOR_CLOSING);
    EXPECT_EQ(d.state, DOOR_CLOSED);
    EXPECT_LE(d.progress, 0.0f);
}
