#include "model/GameModels.h"
#include "MeshChecks.h"
#include "assets/GameModels3ds.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// How the game loads each file: crease threshold and whether it reads the mapping.
const std::map<std::string, std::pair<float, bool>> SETTINGS = {
    {"Auge.3ds", {0.2f, false}},     {"Collector.3ds", {0.2f, true}},
    {"Mirror.3ds", {0.3f, true}},    {"LaserEmitter.3ds", {0.3f, true}},
    {"Ziel1.3ds", {0.3f, false}},    {"Ziel2.3ds", {0.3f, false}},
    {"Ziel3.3ds", {0.3f, false}},    {"Ziel4.3ds", {0.3f, false}},
    {"Ziel5.3ds", {0.3f, false}},    {"ball.3ds", {0.4f, true}},
    {"Holder.3ds", {0.3f, true}},    {"HolderFrame.3ds", {0.3f, true}},
    {"LaserBeam.3ds", {0.4f, true}}, {"Lampe.3ds", {0.4f, false}},
    {"Wall.3ds", {0.3f, true}},
};

// All model files, written once per test process.
const meshcheck::ScratchDir& written() {
    static const meshcheck::ScratchDir dir("models");
    static const bool done = [] {
        for (const auto& model : generatedModelFiles()) {
            EXPECT_TRUE(write3ds(dir.file(model.fileName), model.build())) << model.fileName;
        }
        return true;
    }();
    (void)done;
    return dir;
}

std::unique_ptr<Model> load(const std::string& file) {
    const auto& [threshold, texCoords] = SETTINGS.at(file);
    return loadModel(written().file(file), threshold, texCoords);
}

Mesh3ds build(const std::string& file) {
    for (const auto& model : generatedModelFiles()) {
        if (model.fileName == file) {
            return model.build();
        }
    }
    ADD_FAILURE() << "no builder for " << file;
    return {};
}

// Lower and upper bounds of the vertices that keep accepts.
std::array<Vec3, 2> bounds(const Mesh3ds& mesh, bool (*keep)(const Vec3&) = nullptr) {
    std::array<Vec3, 2> b{Vec3{1e30f, 1e30f, 1e30f}, Vec3{-1e30f, -1e30f, -1e30f}};
    for (const auto& p : mesh.positions) {
        for (int k = 0; k < 3 && (!keep || keep(p)); ++k) {
            b[0][k] = std::min(b[0][k], p[k]);
            b[1][k] = std::max(b[1][k], p[k]);
        }
    }
    return b;
}

// The bounding sphere holds the hit sphere (c, r) and the solid holds its centre.
void expectHitSphereCovered(const std::string& file, const Vec3& c, float r) {
    SCOPED_TRACE(file);
    const auto model = load(file);
    ASSERT_NE(model, nullptr);
    const auto& m = model->centre;
    EXPECT_LE(std::hypot(c[0] - m[0], c[1] - m[1], c[2] - m[2]) + r, model->radius + 1e-4f);
    EXPECT_GT(meshcheck::windingNumber(build(file), c), 0.5);
}

// Whether no triangle's bounds reach into the box (lo, hi).
bool keepsOut(const Mesh3ds& mesh, const Vec3& lo, const Vec3& hi) {
    return std::none_of(mesh.faces.begin(), mesh.faces.end(), [&](const auto& f) {
        for (int k = 0; k < 3; ++k) {
            const float a = mesh.positions[f[0]][k], b = mesh.positions[f[1]][k],
                        c = mesh.positions[f[2]][k];
            if (std::max({a, b, c}) <= lo[k] || std::min({a, b, c}) >= hi[k]) {
                return false;
            }
        }
        return true;
    });
}

TEST(GameModels, EveryFileTheGameLoadsIsASoundSolid) {
    std::set<std::string> ours;
    for (const auto& model : generatedModelFiles()) {
        ours.insert(model.fileName);
    }
    const auto game = gameModelFiles();
    EXPECT_EQ(ours, std::set<std::string>(game.begin(), game.end()));
    EXPECT_TRUE(loadGameModels(written().path.string()).empty());

    for (const auto& model : generatedModelFiles()) {
        SCOPED_TRACE(model.fileName);
        const Mesh3ds mesh = model.build();
        EXPECT_EQ(!mesh.texCoords.empty(), model.texCoords);
        const auto s = meshcheck::solidity(mesh);
        EXPECT_EQ(s.unpairedEdges, 0);
        EXPECT_GT(s.minPartVolume6, 0);
        EXPECT_GT(s.minArea2, 1e-5);
        const auto loaded = load(model.fileName);
        ASSERT_NE(loaded, nullptr);
        EXPECT_LE(loaded->vertexCount, 12000u);
        EXPECT_LE(loaded->indexCount / 3, 5000u);
        EXPECT_EQ(loaded->texCoordComponents, model.texCoords ? 2 : 3);
    }
}

TEST(GameModels, WallAndMirrorAreCentredSlabs) {
    for (const auto& [file, half] : {std::pair{"Wall.3ds", 100.0f}, {"Mirror.3ds", 87.0f}}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(bounds(build(file)),
                  (std::array<Vec3, 2>{Vec3{-half, -half, -10}, Vec3{half, half, 10}}));
        const auto model = load(file);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->centre, (std::array<float, 4>{0, 0, 0, 1}));
        EXPECT_NEAR(model->radius, std::sqrt(2 * half * half + 100), 1e-3);
    }
}

TEST(GameModels, EmitterCollectorAndBallSurroundTheirHitSpheres) {
    expectHitSphereCovered("LaserEmitter.3ds", {0, 0, 80}, 12);
    expectHitSphereCovered("LaserEmitter.3ds", {0, 0, 20}, 9);
    expectHitSphereCovered("LaserEmitter.3ds", {0, 0, -40}, 12);
    expectHitSphereCovered("Collector.3ds", {0, 0, 0}, 11);
    expectHitSphereCovered("Collector.3ds", {0, 0, -40}, 13);
    expectHitSphereCovered("Collector.3ds", {0, 0, -110}, 12);

    // The barrel's surface follows the spheres' radii; the muzzle lies ahead along -z.
    const Mesh3ds emitter = build("LaserEmitter.3ds");
    for (const auto& [z, r] : {std::pair{80.0f, 12.0f}, {20.0f, 9.0f}, {-40.0f, 12.0f}}) {
        EXPECT_GT(meshcheck::windingNumber(emitter, {r - 0.5f, 0, z}), 0.5) << z;
        EXPECT_LT(meshcheck::windingNumber(emitter, {r + 1.5f, 0, z}), 0.5) << z;
    }
    EXPECT_LT(bounds(emitter)[0][2], -50);

    // The collector's ball has radius 11 and its tube reaches to z = -124.
    const Mesh3ds collector = build("Collector.3ds");
    const auto ball = bounds(collector, [](const Vec3& p) { return p[2] > -8; });
    EXPECT_NEAR(ball[1][0], 11, 0.01f);
    EXPECT_NEAR(ball[1][2], 11, 0.01f);
    EXPECT_NEAR(bounds(collector)[0][2], -124, 1e-4f);

    const auto goalBall = load("ball.3ds");
    ASSERT_NE(goalBall, nullptr);
    EXPECT_NEAR(std::hypot(goalBall->centre[0], goalBall->centre[1], goalBall->centre[2]), 0, 1e-5);
    EXPECT_NEAR(goalBall->radius, 15, 1e-4);
}

TEST(GameModels, GoalFramesShareTopologyAndOpenProgressively) {
    const auto first = load("Ziel1.3ds");
    ASSERT_NE(first, nullptr);
    float previousTop = 1e30f;
    for (int frame = 1; frame <= GOAL_FRAMES; ++frame) {
        const std::string file = "Ziel" + std::to_string(frame) + ".3ds";
        SCOPED_TRACE(file);
        const auto model = load(file);
        ASSERT_NE(model, nullptr);
        EXPECT_EQ(model->vertexCount, first->vertexCount);
        EXPECT_EQ(model->indices, first->indices);
        EXPECT_EQ(frame == 1, model->positions == first->positions);
        expectHitSphereCovered(file, {0, -15, 0}, 5);

        // Closed, the petals reach over the ball (radius 15 at y = 50); open, they bare its
        // upper half. The ball stays clear of the body throughout.
        const Mesh3ds body = build(file);
        const float top = bounds(body)[1][1];
        EXPECT_LT(top, previousTop);
        previousTop = top;
        EXPECT_TRUE(frame > 1 || top > 65);
        EXPECT_TRUE(frame < GOAL_FRAMES || top < 50);
        for (const auto& p : body.positions) {
            ASSERT_GT(std::hypot(p[0], p[1] - 50, p[2]), 16);
        }
    }
    EXPECT_THROW(buildGoalBody(0), std::out_of_range);
    EXPECT_THROW(buildGoalBody(GOAL_FRAMES + 1), std::out_of_range);
}

TEST(GameModels, HolderFrameHoldsThePaneAndTiltsFreelyInTheStand) {
    const Mesh3ds frame = build("HolderFrame.3ds");
    const auto b = bounds(frame);
    EXPECT_EQ(b[0][1], -97);
    EXPECT_EQ(b[1][1], 97);
    EXPECT_EQ(b[1][2], 12);
    EXPECT_TRUE(keepsOut(frame, {-87.5f, -87.5f, -10.5f}, {87.5f, 87.5f, 10.5f})); // the pane
    // Past the bars only the pivot pins, on the x axis.
    const auto pins = bounds(frame, [](const Vec3& p) { return std::abs(p[0]) > 97.5f; });
    EXPECT_GT(pins[1][0], 100);
    EXPECT_LT(pins[0][0], -100);
    EXPECT_LE(std::max(pins[1][1], pins[1][2]), 2.5f);

    // The stand stands on y = -140 and leaves room for the frame at any tilt about x.
    const Mesh3ds holder = build("Holder.3ds");
    EXPECT_NEAR(bounds(holder)[0][1], -140, 1e-4);
    const float swing = std::hypot(97.0f, 12.0f);
    EXPECT_TRUE(keepsOut(holder, {-97.5f, -swing, -swing}, {97.5f, swing, swing}));
}

TEST(GameModels, BeamLampAndEyeSizes) {
    const auto beam = bounds(build("LaserBeam.3ds"));
    EXPECT_EQ(beam[0][2], -1);
    EXPECT_EQ(beam[1][2], 0);
    EXPECT_NEAR(beam[1][0], 1.2f, 1e-6);
    EXPECT_NEAR(beam[1][1], 1.2f, 1e-6);

    // The lamp shines along -z from its origin and sits wholly behind it, so that the shadow
    // map, which looks from 5 units in front of the origin, never sees the lamp itself.
    const auto lamp = bounds(build("Lampe.3ds"));
    EXPECT_NEAR(lamp[1][0] - lamp[0][0], 30, 1);
    EXPECT_NEAR(lamp[1][1] - lamp[0][1], 30, 1);
    EXPECT_GE(lamp[0][2], 1.0f);

    const auto eye = bounds(build("Auge.3ds"));
    EXPECT_NEAR(eye[1][0] - eye[0][0], 100, 1);
    EXPECT_NEAR(eye[0][2], -50, 1e-4);
    EXPECT_GT(eye[1][2], 52); // the iris bulges out on +z
}

} // namespace
