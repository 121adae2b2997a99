#include "model/GameModels.h"
#include "assets/GameModels3ds.h"
#include "assets/Shapes.h"
#include "elements/Goal.h"
#include "model/ModelLoader.h"
#include "support/ScratchDir.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <numeric>
#include <set>

namespace {

/// Welds vertices by position, then expects every edge to be used once in each direction (a
/// closed, consistently wound surface), every connected part to enclose positive volume and no
/// triangle to be degenerate.
void expectSolid(const Mesh3ds& mesh) {
    std::map<std::array<long, 3>, int> ids;
    std::vector<int> weld;
    for (const auto& p : mesh.positions) {
        const std::array<long, 3> key{std::lround(p[0] * 1e4), std::lround(p[1] * 1e4),
                                      std::lround(p[2] * 1e4)};
        weld.push_back(ids.emplace(key, int(ids.size())).first->second);
    }
    std::vector<int> parent(ids.size());
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&](int v) {
        while (parent[v] != v) {
            v = parent[v] = parent[parent[v]];
        }
        return v;
    };
    std::map<std::pair<int, int>, int> edges;
    double minArea2 = 1e300;
    for (const auto& f : mesh.faces) {
        for (int k = 0; k < 3; ++k) {
            const int a = weld[f[k]], b = weld[f[(k + 1) % 3]];
            ++edges[{a, b}];
            parent[root(a)] = root(b);
        }
        const auto &p = mesh.positions[f[0]], &q = mesh.positions[f[1]], &r = mesh.positions[f[2]];
        const double u[3] = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
        const double v[3] = {r[0] - p[0], r[1] - p[1], r[2] - p[2]};
        minArea2 =
            std::min(minArea2, std::hypot(u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                                          u[0] * v[1] - u[1] * v[0]));
    }
    EXPECT_GT(minArea2, 1e-5) << "a degenerate triangle";
    int unpaired = 0;
    for (const auto& [edge, count] : edges) {
        const auto back = edges.find({edge.second, edge.first});
        unpaired += std::abs(count - (back == edges.end() ? 0 : back->second));
    }
    EXPECT_EQ(unpaired, 0) << "directed edges without a reverse partner";
    std::map<int, Mesh3ds> parts;
    for (const auto& f : mesh.faces) {
        parts[root(weld[f[0]])].faces.push_back(f);
    }
    for (auto& [id, part] : parts) {
        part.positions = mesh.positions;
        EXPECT_GT(signedVolume6(part), 0) << "a part turned inside out";
    }
}

const std::string GAME = BEAMWORKS_GAME_DIR;

/// A model file as the generator staged it in the game folder.
std::unique_ptr<Model> load(const std::string& file) {
    return loadModel(GAME + "/" + file, 0.3f, false);
}

TEST(GameModels, EveryFileTheGameLoadsIsASoundSolid) {
    std::set<std::string> ours;
    for (const auto& model : generatedModelFiles()) {
        SCOPED_TRACE(model.fileName);
        ours.insert(model.fileName);
        const Mesh3ds mesh = model.build();
        EXPECT_EQ(!mesh.texCoords.empty(), model.texCoords);
        expectSolid(mesh);
        EXPECT_LE(mesh.faces.size(), 5000u);
    }
    const auto game = gameModelFiles();
    EXPECT_EQ(ours, std::set<std::string>(game.begin(), game.end()));
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
        const Mesh3ds body = buildGoalBody(frame);
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
    for (const std::string& file : gameModelFiles()) { // (some more than once)
        std::filesystem::copy_file(GAME + "/" + (file == "Ziel3.3ds" ? "Wall.3ds" : file),
                                   dir.file(file), std::filesystem::copy_options::skip_existing);
    }
    captureStdout([&] {
        EXPECT_EQ(loadGameModels(dir.path.string()), std::vector<std::string>{"Ziel3.3ds"});
    });
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
    captureStdout([] { EXPECT_TRUE(loadGameModels(GAME).empty()); });
}

} // namespace
