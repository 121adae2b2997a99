#include "model/GameModels.h"
#include "MeshChecks.h"
#include "assets/GameModels3ds.h"
#include "elements/Goal.h"
#include "model/ModelLoader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>

namespace {

// All model files, written once per test process.
const ScratchDir& written() {
    static const ScratchDir dir("models");
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
    return loadModel(written().file(file), 0.3f, false);
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

TEST(GameModels, EveryFileTheGameLoadsIsASoundSolidAndLoads) {
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
        EXPECT_LE(mesh.faces.size(), 5000u);
    }
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
        // The bounding sphere holds the hit sphere of radius 5 at (0, -15, 0).
        const auto& m = model->centre;
        EXPECT_LE(std::hypot(m[0], -15 - m[1], m[2]) + 5, model->radius + 1e-4f);
        // Closed, the petals reach over the ball (radius 15 at y = 50); open, they bare its
        // upper half. The ball stays clear of the body throughout.
        const Mesh3ds body = build(file);
        float top = -1e30f;
        for (const auto& p : body.positions) {
            top = std::max(top, p[1]);
        }
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

TEST(GameModels, MismatchedGoalFramesAreRefusedByNameAndNeverBlended) {
    // A replaced key frame (here the wall) cannot be blended with the others.
    const ScratchDir dir("mismatched");
    for (const auto& entry : std::filesystem::directory_iterator(written().path)) {
        std::filesystem::copy_file(entry.path(), dir.path / entry.path().filename());
    }
    std::filesystem::copy_file(written().file("Wall.3ds"), dir.file("Ziel3.3ds"),
                               std::filesystem::copy_options::overwrite_existing);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(loadGameModels(dir.path.string()), std::vector<std::string>{"Ziel3.3ds"});
    ::testing::internal::GetCapturedStdout();
    EXPECT_FALSE(gameModels().goalKeyframes[2]);
    // The door opens through the gap without reading past any array.
    {
        FinshHead head;
        auto* door = dynamic_cast<Finish*>(head.children.back());
        ASSERT_NE(door, nullptr);
        door->state = DOOR_OPENING;
        door->speed = 0.05f;
        for (int i = 0; i < 200 && door->state != DOOR_OPEN; ++i) {
            ASSERT_NE(door->getModel(), nullptr);
        }
        EXPECT_EQ(door->state, DOOR_OPEN);
    }
    ::testing::internal::CaptureStdout();
    EXPECT_TRUE(loadGameModels(written().path.string()).empty());
    ::testing::internal::GetCapturedStdout();
}

} // namespace
