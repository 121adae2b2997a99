#include "core/ActiveObject.h"
#include "core/Camera.h"
#include "core/Light.h"
#include "level/Level.h"
#include "model/GameModels.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// A plain scene object with the wall's model.
class Thing : public Renderable {
  public:
    Model* getModel() override { return gameModels().wall.get(); }
};

class Element : public ActiveObject {
  public:
    Model* getModel() override { return gameModels().mirror.get(); }
};

void expectNear(const Matrix& a, const Matrix& b, float eps = 1e-4f) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(a[i], b[i], eps) << "element " << i;
    }
}

Point at(const Matrix& m, Point p) {
    transformPoint(m, p);
    return p;
}

class Scene : public ::testing::Test {
  protected:
    void SetUp() override { loadTestModels(); }
};

} // namespace

TEST_F(Scene, FreshObjectDefaults) {
    Thing t;
    EXPECT_EQ(t.localMatrix, Matrix::identity());
    EXPECT_EQ(t.getWorldMatrix(), Matrix::identity());
    EXPECT_EQ(t.textureIndex, -1);
    EXPECT_FALSE(t.isSelectable());
    EXPECT_EQ(t.getCollisionRadius(), 0.0f);
    Element e;
    EXPECT_FLOAT_EQ(e.getCollisionRadius(), gameModels().mirror->radius);
}

TEST_F(Scene, ParentMovedAfterChildWasQueried) {
    Thing parent, child;
    addChild(&parent, &child);
    child.translate(0, 5, 0);
    EXPECT_FLOAT_EQ(child.getWorldMatrix()[13], 5);
    EXPECT_FALSE(child.transformDirty);
    parent.translate(10, 0, 0);
    EXPECT_FALSE(child.transformDirty); // the child learns of it through the chain
    const Matrix w = child.getWorldMatrix();
    EXPECT_FLOAT_EQ(w[12], 10);
    EXPECT_FLOAT_EQ(w[13], 5);
}

TEST_F(Scene, GrandchildFollowsGrandparent) {
    Thing a, b, c;
    addChild(&a, &b);
    addChild(&b, &c);
    c.getWorldMatrix();
    a.rotateY(static_cast<float>(PI / 2));
    b.getWorldMatrix(); // refreshes b, marks c
    a.translate(0, 0, 7);
    const Point p = at(c.getWorldMatrix(), {1, 0, 0, 1});
    EXPECT_NEAR(p[0], 0, 1e-5);
    EXPECT_NEAR(p[2], 6, 1e-5);
}

TEST_F(Scene, RotationThenTranslationDoesNotTurnTheMove) {
    Thing t;
    t.rotateY(static_cast<float>(PI / 2));
    t.translate(1, 0, 0);
    const Point origin = at(t.getWorldMatrix(), {0, 0, 0, 1});
    EXPECT_NEAR(origin[0], 1, 1e-6);
    EXPECT_NEAR(origin[2], 0, 1e-6);
    Thing u;
    u.translate(1, 0, 0);
    u.rotateY(static_cast<float>(PI / 2));
    expectNear(u.getWorldMatrix(), t.getWorldMatrix(), 1e-6f);
}

TEST_F(Scene, ResetTransformKeepsOnlyTheScale) {
    Thing t;
    t.scale(2, 2, 2);
    t.rotateX(0.4f);
    t.rotateZ(-1.0f);
    t.translate(5, 6, 7);
    t.resetTransform();
    Matrix expected = Matrix::identity();
    scaleMatrix(expected, 2, 2, 2);
    expectNear(t.localMatrix, expected, 1e-5f);
    EXPECT_TRUE(t.transformDirty);
}

TEST_F(Scene, BoundingRadiusIsCachedUntilOwnScaleChanges) {
    Thing parent, child;
    addChild(&parent, &child);
    const float r = gameModels().wall->radius;
    child.scale(2, 2, 2);
    EXPECT_FLOAT_EQ(child.getBoundingRadius(), 2 * r);
    parent.scale(3, 3, 3);
    EXPECT_FLOAT_EQ(child.getBoundingRadius(), 2 * r); // cached: the parent's scale is not seen
    child.scale(1, 1, 1);
    EXPECT_FLOAT_EQ(child.getBoundingRadius(), 6 * r);
}

TEST_F(Scene, BoundingCentreFollowsTheWorldMatrix) {
    Thing t;
    t.translate(3, 4, 5);
    const Point c = t.getBoundingCenter();
    const auto& m = gameModels().wall->centre;
    EXPECT_FLOAT_EQ(c[0], m[0] + 3);
    EXPECT_FLOAT_EQ(c[1], m[1] + 4);
    EXPECT_FLOAT_EQ(c[2], m[2] + 5);
    EXPECT_FLOAT_EQ(c[3], 1);
}

TEST_F(Scene, WorldVersionChangesWithEachRecomputationOnly) {
    Thing t;
    t.getWorldMatrix();
    const auto first = t.worldVersion();
    t.getWorldMatrix();
    EXPECT_EQ(t.worldVersion(), first);
    t.translate(1, 0, 0);
    EXPECT_EQ(t.worldVersion(), first); // not recomputed until asked
    EXPECT_FLOAT_EQ(t.refreshedWorldMatrix()[12], 1);
    const auto second = t.worldVersion();
    EXPECT_NE(second, first);
    t.rotateY(0.5f);
    t.getWorldMatrix();
    EXPECT_NE(t.worldVersion(), second);
    EXPECT_NE(t.worldVersion(), first);
}

TEST_F(Scene, AncestorMovedAfterTheDescendantWasFoundCurrent) {
    Thing a, b, c;
    addChild(&a, &b);
    addChild(&b, &c);
    c.getWorldMatrix();
    EXPECT_TRUE(c.isWorldMatrixCurrent());
    const auto version = c.worldVersion();
    a.translate(0, 0, 7); // two levels up, c itself is not marked
    EXPECT_FALSE(c.transformDirty);
    EXPECT_FALSE(c.isWorldMatrixCurrent());
    EXPECT_FLOAT_EQ(c.refreshedWorldMatrix()[14], 7);
    EXPECT_NE(c.worldVersion(), version);
    EXPECT_TRUE(c.isWorldMatrixCurrent());
    // The middle one refreshed by someone else first.
    a.translate(0, 0, 1);
    b.getWorldMatrix();
    EXPECT_FLOAT_EQ(c.refreshedWorldMatrix()[14], 8);
    // A move of an unrelated object leaves it current.
    Thing other;
    other.translate(5, 0, 0);
    EXPECT_TRUE(c.isWorldMatrixCurrent());
}

TEST_F(Scene, ChildAttachedAfterItWasFoundCurrentFollowsItsNewParent) {
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

TEST_F(Scene, KeptBoundingCentreIsTheWorldMatrixTimesTheModelCentre) {
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
    holder.translate(10, -3, 4); // the parent: the kept centre must follow
    EXPECT_EQ(thing.getBoundingCenter(), expected());
    holder.rotateZ(1.0f);
    EXPECT_EQ(thing.getBoundingCenter(), expected());
    thing.translate(0, 0, -50);
    EXPECT_EQ(thing.getBoundingCenter(), expected());
    EXPECT_EQ(thing.getBoundingCenter(), expected()); // asked twice, the same
}

TEST_F(Scene, BeamDirectionIsTheNormalisedWorldMinusZ) {
    Thing t;
    Point d = t.beamDirection();
    EXPECT_FLOAT_EQ(d[2], -1);
    t.scale(3, 3, 3);
    t.rotateY(static_cast<float>(PI / 2));
    d = t.beamDirection();
    EXPECT_NEAR(d[0], -1, 1e-6);
    EXPECT_NEAR(d[2], 0, 1e-6);
    EXPECT_EQ(d[3], 0);
}

TEST_F(Scene, SelectionQueries) {
    Thing a, b, c, other;
    addChild(&a, &b);
    addChild(&b, &c);
    EXPECT_FALSE(b.isSelectionRelated());
    c.selected = true;
    EXPECT_TRUE(a.hasSelectedDescendant());
    EXPECT_FALSE(a.hasSelectedAncestor());
    EXPECT_TRUE(b.isSelectionRelated());
    c.selected = false;
    a.selected = true;
    EXPECT_TRUE(c.hasSelectedAncestor());
    EXPECT_FALSE(other.isSelectionRelated());
}

TEST_F(Scene, VertexColoursCoverTheModel) {
    Thing t;
    const float rgba[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    setVertexColor(&t, 5, rgba);
    ASSERT_EQ(t.vertexColors.size(), 20u);
    EXPECT_EQ(t.vertexColors[16], 0.1f);
    EXPECT_EQ(t.vertexColors[19], 0.4f);
    float rgb[3];
    colorCodeToRgb(5, rgb);
    EXPECT_EQ(rgb[0], 1);
    EXPECT_EQ(rgb[1], 0);
    EXPECT_EQ(rgb[2], 1);
    for (signed char bad : {static_cast<signed char>(8), static_cast<signed char>(-1)}) {
        colorCodeToRgb(bad, rgb);
        EXPECT_EQ(rgb[0] + rgb[1] + rgb[2], 0.0f);
    }
}

TEST_F(Scene, DefaultEmitPrintsItsLineAndLaserResetKeepsNothing) {
    Element e;
    Level level;
    e.tracedCount = 3;
    bool emitted = true;
    EXPECT_EQ(captureStdout([&] { emitted = e.emitOutgoingLasers(level); }),
              "-------DEFAULT outgoing laser------\n");
    EXPECT_FALSE(emitted);
    e.resetLasers();
    EXPECT_EQ(e.tracedCount, 0);
    EXPECT_TRUE(e.incomingLasers.empty());
}

TEST_F(Scene, CameraIsAWhiteHalfTurnedSmallEye) {
    Camera camera;
    const Matrix w = camera.getWorldMatrix();
    EXPECT_NEAR(w[0], -0.05f, 1e-6);
    EXPECT_NEAR(w[5], 0.05f, 1e-6);
    EXPECT_NEAR(w[10], -0.05f, 1e-6);
    EXPECT_NEAR(w[2], 0, 1e-6);
    EXPECT_NEAR(w[8], 0, 1e-6);
    EXPECT_EQ(camera.textureIndex, 5);
    EXPECT_FALSE(camera.isSelectable());
    EXPECT_EQ(camera.vertexColors.size(), 4u * gameModels().eye->vertexCount);
}

TEST_F(Scene, LightViewMatrixOfAPositionIsTheOppositeTranslation) {
    Light light;
    light.translate(10, 20, 30);
    expectNear(light.lightViewMatrix, Matrix::translation(-10, -20, -30), 0);
    EXPECT_TRUE(light.isSelectable());
    EXPECT_EQ(light.getCollisionRadius(), -1.0f);
}

TEST_F(Scene, LightViewMatrixInvertsOneAxisTurnsBeforeMoves) {
    Light light;
    light.rotateY(static_cast<float>(30.0 / 180.0 * PI));
    light.translate(5, -3, 8);
    expectNear(multiply(light.lightViewMatrix, light.localMatrix), Matrix::identity());

    Light twoAxes;
    twoAxes.rotateX(0.5f);
    twoAxes.rotateY(0.7f);
    const Matrix product = multiply(twoAxes.lightViewMatrix, twoAxes.localMatrix);
    float off = 0;
    for (int i = 0; i < 16; ++i) {
        off = std::max(off, std::fabs(product[i] - Matrix::identity()[i]));
    }
    EXPECT_GT(off, 0.01f);

    // Scale and reset leave the light's view alone.
    const Matrix before = light.lightViewMatrix;
    light.scale(2, 2, 2);
    light.resetTransform();
    EXPECT_EQ(light.lightViewMatrix, before);
}
