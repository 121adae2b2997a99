#include "core/Renderable.h"
#include "elements/Light.h"
#include "model/GameModels.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

namespace {

// A plain scene object with the wall's model.
class Thing : public Renderable {
  public:
    Model* getModel() override { return gameModels().wall.get(); }
};

void expectNear(const Matrix& a, const Matrix& b, float eps = 1e-4f) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(a[i], b[i], eps) << "element " << i;
    }
}

using Scene = WithGameModels;

} // namespace

TEST_F(Scene, MovesAreNotTurnedByEarlierTurnsAndResetKeepsOnlyTheScale) {
    Thing t, u;
    t.rotateY(static_cast<float>(PI / 2));
    t.translate(1, 0, 0);
    u.translate(1, 0, 0);
    u.rotateY(static_cast<float>(PI / 2));
    expectNear(u.getWorldMatrix(), t.getWorldMatrix(), 1e-6f);
    EXPECT_NEAR(t.getWorldMatrix()[12], 1, 1e-6);
    t.scale(2, 2, 2);
    t.rotateX(0.4f);
    t.translate(5, 6, 7);
    t.resetTransform();
    Matrix expected = Matrix::identity();
    scaleMatrix(expected, 2, 2, 2);
    expectNear(t.localMatrix, expected, 1e-5f);
    EXPECT_TRUE(t.transformDirty);
}

TEST_F(Scene, AncestorMovedOrAttachedAfterTheDescendantWasFoundCurrent) {
    Thing a, b, c;
    addChild(&a, &b);
    addChild(&b, &c);
    c.translate(0, 5, 0);
    EXPECT_FLOAT_EQ(c.getWorldMatrix()[13], 5);
    EXPECT_TRUE(c.isWorldMatrixCurrent());
    const auto version = c.worldVersion();
    c.getWorldMatrix();
    EXPECT_EQ(c.worldVersion(), version); // no recomputation, no new version
    a.translate(0, 0, 7);                 // two levels up, c itself is not marked
    EXPECT_FALSE(c.transformDirty);
    EXPECT_FALSE(c.isWorldMatrixCurrent());
    EXPECT_EQ(c.worldVersion(), version); // not recomputed until asked
    EXPECT_FLOAT_EQ(c.refreshedWorldMatrix()[14], 7);
    EXPECT_FLOAT_EQ(c.getWorldMatrix()[13], 5);
    EXPECT_NE(c.worldVersion(), version);
    // The middle one refreshed by someone else first.
    a.translate(0, 0, 1);
    b.getWorldMatrix();
    EXPECT_FLOAT_EQ(c.refreshedWorldMatrix()[14], 8);
    // A move of an unrelated object leaves it current.
    Thing other;
    other.translate(5, 0, 0);
    EXPECT_TRUE(c.isWorldMatrixCurrent());
    // A child attached after it was found current follows its new parent.
    Thing parent, child;
    parent.translate(0, 3, 0); // moved while it had no children
    child.getWorldMatrix();
    EXPECT_TRUE(child.isWorldMatrixCurrent());
    addChild(&parent, &child);
    EXPECT_FALSE(child.isWorldMatrixCurrent());
    EXPECT_FLOAT_EQ(child.getWorldMatrix()[13], 3);
    // A parent already computed when the child comes: the child keeps its own matrix until
    // something changes (it is not marked dirty).
    Thing late;
    late.translate(1, 0, 0);
    late.getWorldMatrix();
    addChild(&parent, &late);
    EXPECT_FLOAT_EQ(late.getWorldMatrix()[13], 0);
    parent.translate(0, 1, 0);
    EXPECT_FLOAT_EQ(late.getWorldMatrix()[13], 4);
    EXPECT_FLOAT_EQ(late.getWorldMatrix()[12], 1);
}

TEST_F(Scene, KeptBoundingCentreFollowsEveryMoveOfTheObjectAndItsParent) {
    Thing holder, thing;
    addChild(&holder, &thing);
    thing.scale(2, 1, 1);
    const auto& m = gameModels().wall->centre;
    const auto expected = [&] {
        Point c{m[0], m[1], m[2], 1.0f};
        transformPoint(thing.getWorldMatrix(), c);
        return c;
    };
    EXPECT_EQ(thing.getBoundingCenter(), expected());
    holder.translate(10, -3, 4);
    EXPECT_EQ(thing.getBoundingCenter(), expected());
    holder.rotateZ(1.0f);
    thing.translate(0, 0, -50);
    EXPECT_EQ(thing.getBoundingCenter(), expected());
}

TEST_F(Scene, LightViewMatrixInvertsOneAxisTurnsBeforeMoves) {
    Light moved;
    moved.translate(10, 20, 30);
    expectNear(moved.lightViewMatrix, Matrix::translation(-10, -20, -30), 0);
    Light light;
    light.rotateY(static_cast<float>(30.0 / 180.0 * PI));
    light.translate(5, -3, 8);
    expectNear(multiply(light.lightViewMatrix, light.localMatrix), Matrix::identity());
    // Scale and reset leave the light's view alone.
    const Matrix before = light.lightViewMatrix;
    light.scale(2, 2, 2);
    light.resetTransform();
    EXPECT_EQ(light.lightViewMatrix, before);
}
