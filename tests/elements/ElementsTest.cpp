#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "elements/Wall.h"
#include "laser/HitShapes.h"
#include "support/Beams.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

namespace {

class Elements : public ::testing::Test {
  protected:
    void SetUp() override { loadTestModels(); }
};

// A mounted element with its holder, as the loader builds it.
template <class T> struct Mounted {
    T element;
    Holder holder{&element};
    HolderFrame& frame() { return *holder.frame(); }
};

std::array<float, 4> firstColor(const Renderable& r) {
    return {r.vertexColors[0], r.vertexColors[1], r.vertexColors[2], r.vertexColors[3]};
}

} // namespace

TEST_F(Elements, ColoursTexturesAndShapesOfEachClass) {
    Emitter emitter;
    EXPECT_EQ(emitter.textureIndex, 1);
    EXPECT_EQ(emitter.blockingShapes.size(), 3u);
    EXPECT_TRUE(emitter.activeShapes.empty());
    EXPECT_EQ(emitter.vertexColors.size(), 4u * gameModels().emitter->vertexCount);
    Collector collector;
    EXPECT_EQ(collector.textureIndex, -1);
    EXPECT_EQ(collector.activeShapes.size(), 1u);
    EXPECT_EQ(collector.blockingShapes.size(), 2u);
    Wall wall;
    EXPECT_EQ(wall.textureIndex, 7);
    EXPECT_EQ(wall.blockingShapes.size(), 6u);
    EXPECT_EQ(wall.getCollisionRadius(), -1.0f);
    Mounted<Mirror> mirror;
    EXPECT_EQ(firstColor(mirror.element), (std::array<float, 4>{0.7f, 0.9f, 1.0f, 1.0f}));
    EXPECT_EQ(mirror.element.activeShapes.size(), 2u);
    EXPECT_EQ(mirror.element.blockingShapes.size(), 4u);
    EXPECT_EQ(firstColor(mirror.holder), (std::array<float, 4>{0.5f, 0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(mirror.holder.textureIndex, 0);
    EXPECT_EQ(mirror.frame().textureIndex, 6);
    Mounted<MirrorHalf> half;
    EXPECT_EQ(firstColor(half.element), (std::array<float, 4>{0.7f, 0.7f, 0.7f, 0.5f}));
    EXPECT_EQ(half.frame().textureIndex, 10);
    Mounted<ColorFilter> filter;
    EXPECT_EQ(firstColor(filter.element), (std::array<float, 4>{0, 0, 0, 0.5f}));
    EXPECT_EQ(filter.frame().textureIndex, 6);
    EXPECT_TRUE(filter.element.isFilter);
    EXPECT_EQ(filter.element.object, &filter.element);
}

TEST_F(Elements, WhoCanBePicked) {
    Mounted<Mirror> mirror;
    EXPECT_TRUE(mirror.element.isSelectable());
    EXPECT_TRUE(mirror.frame().isSelectable());
    EXPECT_TRUE(mirror.holder.isSelectable());
    EXPECT_FALSE(Emitter().isSelectable());
    EXPECT_FALSE(Wall().isSelectable());
    EXPECT_FALSE(Collector().isSelectable());
    FinshHead goal;
    EXPECT_FALSE(goal.isSelectable());
    EXPECT_FALSE(goal.door()->isSelectable());
    EXPECT_EQ(mirror.holder.getCollisionRadius(), -1.0f);
    EXPECT_EQ(mirror.frame().getCollisionRadius(), -1.0f);
    EXPECT_GT(mirror.element.getCollisionRadius(), 0.0f);
}

TEST_F(Elements, TurnAboutYReachesTheHolderTiltAboutXTheFrame) {
    Mounted<Mirror> m;
    m.element.rotateY(0.5f);
    EXPECT_EQ(m.element.localMatrix, Matrix::identity());
    EXPECT_EQ(m.frame().localMatrix, Matrix::identity());
    EXPECT_NE(m.holder.localMatrix, Matrix::identity());

    Mounted<Mirror> t;
    t.element.rotateX(0.5f);
    EXPECT_EQ(t.element.localMatrix, Matrix::identity());
    EXPECT_NE(t.frame().localMatrix, Matrix::identity());
    EXPECT_EQ(t.holder.localMatrix, Matrix::identity());

    // Moves, Z turns and resets from the frame end at the holder too; the mirror follows.
    t.frame().translate(10, 0, 0);
    t.frame().rotateZ(0.2f);
    EXPECT_FLOAT_EQ(t.holder.localMatrix[12], 10);
    EXPECT_FLOAT_EQ(t.element.getWorldMatrix()[12], 10);
    t.element.resetTransform();
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(t.holder.localMatrix[i], Matrix::identity()[i], 1e-6);
    }
    EXPECT_NE(t.frame().localMatrix, Matrix::identity()); // the tilt stays
}

TEST_F(Elements, ScaleStaysWithTheObjectAddressed) {
    Mounted<ColorFilter> f;
    f.element.scale(0.5f, 0.5f, 0.5f);
    EXPECT_FLOAT_EQ(f.element.localMatrix[0], 0.5f);
    EXPECT_EQ(f.holder.localMatrix, Matrix::identity());
    f.frame().scale(2, 2, 2);
    EXPECT_FLOAT_EQ(f.frame().localMatrix[0], 2);
    EXPECT_FLOAT_EQ(f.element.getWorldMatrix()[0], 1);
}

TEST_F(Elements, ColoursGoDownTexturesStopAtTheFrame) {
    Mounted<ColorFilter> f;
    f.holder.setColor(3);
    EXPECT_EQ(f.element.colorCode, 3);
    EXPECT_EQ(firstColor(f.element), (std::array<float, 4>{1, 1, 0, 0.5f}));
    for (signed char bad : {static_cast<signed char>(8), static_cast<signed char>(-3)}) {
        f.holder.setColor(bad);
        EXPECT_EQ(firstColor(f.element), (std::array<float, 4>{0, 0, 0, 0.5f}));
    }
    f.holder.setTexture(3);
    EXPECT_EQ(f.frame().textureIndex, 3);
    EXPECT_EQ(f.holder.textureIndex, 0);
    EXPECT_EQ(f.element.textureIndex, -1);

    Mounted<Mirror> m;
    const auto before = m.element.vertexColors;
    m.holder.setColor(1);
    EXPECT_EQ(m.element.vertexColors, before);
    Emitter e;
    const auto white = e.vertexColors;
    e.setColor(2);
    EXPECT_EQ(e.vertexColors, white);
}

TEST_F(Elements, WallsAreAlwaysFaceTested) {
    Wall wall;
    wall.translate(0, 0, -5000);
    auto away = aimedBeam({0, 0, 0, 1}, {0, 0, 1, 0});
    float d = 0;
    EXPECT_TRUE(wall.hitsBoundingSphere(away->ray(), d));
    auto toward = aimedBeam({0, 0, 0, 1}, {0, 0, -1, 0});
    float p[3], n[3];
    EXPECT_EQ(wall.hitTest(toward->ray(), d, p, n), HIT_BLOCKING);
    EXPECT_NEAR(d, 4990, 1e-2);
    EXPECT_FLOAT_EQ(n[2], 1);
}

TEST_F(Elements, MirrorReflectsOnBothFacesAndBlocksOnItsEdges) {
    Mounted<Mirror> m;
    float d, p[3], n[3];
    auto front = aimedBeam({0, 0, 100, 1}, {0, 0, -1, 0});
    EXPECT_EQ(m.element.hitTest(front->ray(), d, p, n), HIT_ACTIVE);
    EXPECT_FLOAT_EQ(d, 90);
    auto back = aimedBeam({0, 0, -100, 1}, {0, 0, 1, 0});
    EXPECT_EQ(m.element.hitTest(back->ray(), d, p, n), HIT_ACTIVE);
    EXPECT_FLOAT_EQ(d, 90);
    auto edge = aimedBeam({0, 200, 0, 1}, {0, -1, 0, 0});
    EXPECT_EQ(m.element.hitTest(edge->ray(), d, p, n), HIT_BLOCKING);
    EXPECT_FLOAT_EQ(d, 113);
    // The holder and frame have no shapes: a beam passes through them.
    EXPECT_EQ(m.holder.hitTest(front->ray(), d, p, n), HIT_NONE);
    EXPECT_EQ(m.frame().hitTest(front->ray(), d, p, n), HIT_NONE);
}

TEST_F(Elements, GoalRequiresWhiteUntilColouredAndHitsOnItsSphere) {
    FinshHead goal;
    EXPECT_EQ(goal.requiredColor, 7);
    EXPECT_EQ(firstColor(goal), (std::array<float, 4>{1, 1, 1, 1}));
    goal.setColor(5);
    EXPECT_EQ(goal.requiredColor, 5);
    EXPECT_EQ(firstColor(goal), (std::array<float, 4>{1, 0, 1, 1}));
    ASSERT_EQ(goal.children.size(), 1u);
    EXPECT_EQ(goal.children[0], goal.door());
    EXPECT_FLOAT_EQ(goal.door()->getWorldMatrix()[13], -50);
    EXPECT_EQ(goal.door()->textureIndex, 4);
    EXPECT_EQ(goal.door()->blockingShapes.size(), 1u);

    auto beam = aimedBeam({0, 0, 300, 1}, {0, 0, -1, 0});
    float d = 0, p[3] = {5, 5, 5}, n[3];
    EXPECT_EQ(goal.hitTest(beam->ray(), d, p, n), HIT_ACTIVE);
    EXPECT_NEAR(d, 300 - goal.getBoundingRadius(), 0.05);
    EXPECT_EQ(p[0], 5);
    auto miss = aimedBeam({0, 100, 300, 1}, {0, 0, -1, 0});
    EXPECT_EQ(goal.hitTest(miss->ray(), d, p, n), HIT_NONE);
}

TEST_F(Elements, ClosedDoorKeepsItsOwnFirstKeyFrame) {
    FinshHead goal;
    Finish& door = *goal.door();
    const Model* model = door.getModel();
    ASSERT_NE(model, nullptr);
    EXPECT_NE(model, gameModels().goalKeyframes[0].get()); // its own copy
    EXPECT_EQ(model->positions, gameModels().goalKeyframes[0]->positions);
    EXPECT_EQ(door.getModel(), model);
    EXPECT_EQ(door.progress, 0.0f);
    EXPECT_EQ(door.lastBuiltProgress, -1.0f);
}

TEST_F(Elements, OpeningRebuildsAtOnceThenEveryHundredth) {
    FinshHead goal;
    Finish& d = *goal.door();
    d.state = DOOR_OPENING;
    const Model* first = d.getModel();
    EXPECT_FLOAT_EQ(d.progress, 0.001f);
    EXPECT_FLOAT_EQ(d.lastBuiltProgress, 0.001f);
    const Model& k0 = *gameModels().goalKeyframes[0];
    const Model& k1 = *gameModels().goalKeyframes[1];
    for (std::size_t i = 0; i < first->positions.size(); i += 97) {
        EXPECT_FLOAT_EQ(first->positions[i], k0.positions[i] * 0.999f + k1.positions[i] * 0.001f);
    }
    EXPECT_EQ(first->indices, k0.indices);
    EXPECT_EQ(first->texCoordSize, k0.texCoordSize + 1);
    // No rebuild until the progress moved more than 0.01.
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(d.getModel(), first);
    }
    d.getModel();
    d.getModel();
    EXPECT_NE(d.lastBuiltProgress, 0.001f);
}

TEST_F(Elements, HalfWayThroughBlendsKeyFramesTwoAndThree) {
    FinshHead goal;
    Finish& d = *goal.door();
    d.state = DOOR_OPENING;
    d.progress = 2.5f - d.speed;
    const Model* m = d.getModel();
    EXPECT_EQ(d.keyframe, 2);
    const Model& k2 = *gameModels().goalKeyframes[2];
    const Model& k3 = *gameModels().goalKeyframes[3];
    for (std::size_t i = 0; i < m->positions.size(); i += 31) {
        EXPECT_NEAR(m->positions[i], (k2.positions[i] + k3.positions[i]) / 2, 1e-3);
    }
}

TEST_F(Elements, DoorOpensFullyThenClosesBack) {
    FinshHead goal;
    Finish& d = *goal.door();
    d.state = DOOR_OPENING;
    int calls = 0;
    while (d.state == DOOR_OPENING && calls < 10000) {
        d.getModel();
        ++calls;
    }
    EXPECT_EQ(d.state, DOOR_OPEN);
    EXPECT_NEAR(calls, 4000, 2);
    const float open = d.progress;
    d.getModel();
    EXPECT_EQ(d.progress, open); // an open door stays
    d.state = DOOR_CLOSING;
    calls = 0;
    while (d.state == DOOR_CLOSING && calls < 10000) {
        d.getModel();
        ++calls;
    }
    EXPECT_EQ(d.state, DOOR_CLOSED);
    EXPECT_LE(d.progress, 0.0f);
}

TEST_F(Elements, DoorColourCoversTheFirstKeyFrame) {
    FinshHead goal;
    goal.door()->setColor(2);
    EXPECT_EQ(goal.door()->colorCode, 2);
    EXPECT_EQ(goal.door()->vertexColors.size(), 4u * gameModels().goalKeyframes[0]->vertexCount);
    EXPECT_EQ(firstColor(*goal.door()), (std::array<float, 4>{0, 1, 0, 1}));
}

TEST_F(Elements, WhatTheTracerTestsAndWhatItTakesForAFilter) {
    Mounted<Mirror> m;
    Mounted<ColorFilter> f;
    FinshHead goal;
    Wall wall;
    // Holder and frame have no shapes; the goal's ball has none either, but is hit.
    EXPECT_FALSE(m.holder.canBeHit());
    EXPECT_FALSE(m.frame().canBeHit());
    EXPECT_TRUE(m.element.canBeHit());
    EXPECT_TRUE(goal.canBeHit());
    EXPECT_TRUE(goal.door()->canBeHit());
    EXPECT_TRUE(wall.canBeHit());
    EXPECT_EQ(f.element.asColorFilter(), &f.element);
    EXPECT_EQ(f.holder.asColorFilter(), nullptr);
    EXPECT_EQ(m.element.asColorFilter(), nullptr);
    EXPECT_EQ(goal.asColorFilter(), nullptr);
    // Shapes added to a holder make it testable.
    m.holder.blockingShapes.push_back(std::make_unique<HitSphere>(&m.holder, Point{0, 0, 0, 1}, 1));
    EXPECT_TRUE(m.holder.canBeHit());
}

TEST_F(Elements, EveryBoundingTestOfAMovingDoorLooksAtItsMesh) {
    // The door's morph moves on with every look at its mesh, the bounding-sphere test included:
    // one look per test (and one more for a radius to be worked out).
    FinshHead goal;
    Finish& door = *goal.door();
    auto beam = aimedBeam({0, -50, 300, 1}, {0, 0, -1, 0});
    float d = 0;
    door.hitsBoundingSphere(beam->ray(), d); // a closed door stays: the radius is worked out
    door.state = DOOR_OPENING;
    float expected = door.progress;
    for (int i = 0; i < 5; ++i) {
        const Model* mesh = door.getModel();
        expected += door.speed;
        // The centre follows the mesh of the moment.
        Point centre{mesh->centre[0], mesh->centre[1], mesh->centre[2], 1};
        transformPoint(door.getWorldMatrix(), centre);
        EXPECT_EQ(door.getBoundingCenter(), centre);
        expected += door.speed;
        door.hitsBoundingSphere(beam->ray(), d);
        expected += door.speed;
        EXPECT_EQ(door.progress, expected);
    }
    door.scale(1, 1, 1); // the radius is worked out afresh on the next test
    door.hitsBoundingSphere(beam->ray(), d);
    expected += door.speed;
    expected += door.speed;
    EXPECT_EQ(door.progress, expected);
}
