#include "model/Smoothing.h"
#include "core/Matrix.h"
#include "model/ModelLoader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using Vec = std::array<float, 3>;

Model meshFrom(const std::vector<Vec>& points,
               const std::vector<std::array<std::uint16_t, 3>>& triangles, bool tex = false) {
    Model m;
    m.vertexCount = static_cast<std::uint32_t>(points.size());
    for (const auto& p : points) {
        m.positions.insert(m.positions.end(), p.begin(), p.end());
    }
    for (const auto& t : triangles) {
        m.indices.insert(m.indices.end(), t.begin(), t.end());
    }
    m.indexCount = static_cast<std::uint32_t>(m.indices.size());
    if (tex) {
        m.texCoordSize = static_cast<std::int32_t>(12 * points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            m.texCoords.push_back(0.01f * static_cast<float>(i));
            m.texCoords.push_back(1.0f - 0.01f * static_cast<float>(i));
        }
    }
    return m;
}

Model cube() {
    // clang-format off
    return meshFrom({{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
                     {-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
                    {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4},
                     {3, 7, 6}, {3, 6, 2}, {0, 4, 7}, {0, 7, 3}, {1, 2, 6}, {1, 6, 5}},
                    true);
    // clang-format on
}

Vec normalOf(const Model& m, std::size_t v) {
    return {m.normals[3 * v], m.normals[3 * v + 1], m.normals[3 * v + 2]};
}
Vec positionOf(const Model& m, std::size_t v) {
    return {m.positions[3 * v], m.positions[3 * v + 1], m.positions[3 * v + 2]};
}
float dot(const Vec& a, const Vec& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

} // namespace

TEST(FaceGeometry, RightTriangle) {
    const FaceGeometry f = faceNormalAndAngles({0, 0, 0, 1, 0, 0, 0, 1, 0}, 0, 1, 2);
    EXPECT_FLOAT_EQ(f.normal[2], 1);
    EXPECT_FLOAT_EQ(f.angles[0], static_cast<float>(PI / 2));
    EXPECT_FLOAT_EQ(f.angles[1], static_cast<float>(PI / 4));
}

TEST(Smoothing, CubeSplitsIntoOneVertexPerFaceBelowARightAngleAndStaysWholeAbove) {
    Model m = cube();
    const Model before = m;
    ASSERT_TRUE(smoothNormals(m, 0.3f));
    EXPECT_EQ(m.vertexCount, 24u);
    // A unit normal n with n . p = 1 at the three corners of a triangle on the cube [-1, 1]^3 is
    // that face's outward normal. A split vertex keeps its corner's place and texture coordinates.
    for (std::size_t c = 0; c < m.indices.size(); ++c) {
        const std::size_t v = m.indices[c], from = before.indices[c];
        EXPECT_NEAR(dot(normalOf(m, v), normalOf(m, v)), 1, 1e-6) << c;
        EXPECT_NEAR(dot(normalOf(m, v), positionOf(m, v)), 1, 1e-6) << c;
        EXPECT_EQ(normalOf(m, v), normalOf(m, m.indices[c - c % 3])) << c;
        EXPECT_EQ(positionOf(m, v), positionOf(before, from)) << c;
        EXPECT_EQ(m.texCoords[2 * v], before.texCoords[2 * from]) << c;
        EXPECT_EQ(m.texCoords[2 * v + 1], before.texCoords[2 * from + 1]) << c;
    }
    // Above a right angle the cube stays whole, its corner normals pointing diagonally out.
    Model whole = cube();
    ASSERT_TRUE(smoothNormals(whole, 0.6f));
    EXPECT_EQ(whole.vertexCount, 8u);
    for (std::size_t v = 0; v < 8; ++v) {
        const Vec n = normalOf(whole, v), p = positionOf(whole, v);
        for (int a = 0; a < 3; ++a) {
            EXPECT_GT(n[a] * p[a], 0) << v;
        }
    }
}

TEST(Smoothing, ASplitVertexSplitsAgainOnItsOwnPassAndNoMoreThanSixteenBitsAreMade) {
    // Three faces around the edge from vertex 0 to vertex 2, facing +z, +x and -z: at both
    // vertices the +x and -z corners move to one new vertex, which splits again on its own pass
    // because -z is more than 54 degrees from +x.
    Model m = meshFrom({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}, {-1, 0, 0}},
                       {{0, 1, 2}, {0, 2, 4}, {0, 5, 2}});
    ASSERT_TRUE(smoothNormals(m, 0.3f));
    EXPECT_EQ(m.vertexCount, 6u + 4u);
    // Two opposite faces over three shared vertices: each of the three splits once.
    const auto build = [](std::size_t total) {
        std::vector<Vec> p(total, {0, 0, 0});
        p[1] = {1, 0, 0};
        p[2] = {0, 1, 0};
        return meshFrom(p, {{0, 1, 2}, {0, 2, 1}});
    };
    Model fits = build(MAX_MODEL_VERTICES - 3);
    ASSERT_TRUE(smoothNormals(fits, 0.3f));
    EXPECT_EQ(fits.vertexCount, MAX_MODEL_VERTICES);
    Model tooMany = build(MAX_MODEL_VERTICES - 2);
    EXPECT_FALSE(smoothNormals(tooMany, 0.3f));
}

TEST(Smoothing, AnyMeshKeepsItsCornersInPlaceWithFiniteNormals) {
    // Random triangles, some with coincident corners, and vertices no face uses.
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> coord(-10, 10);
    for (int round = 0; round < 40; ++round) {
        const int n = 3 + static_cast<int>(rng() % 40);
        std::vector<Vec> p(n);
        for (auto& x : p) {
            x = (rng() % 8 == 0) ? p[0] : Vec{coord(rng), coord(rng), coord(rng)};
        }
        std::vector<std::array<std::uint16_t, 3>> t(1 + rng() % 80);
        for (auto& f : t) {
            for (auto& i : f) {
                i = static_cast<std::uint16_t>(rng() % n);
            }
        }
        Model m = meshFrom(p, t, round % 2 == 0);
        const Model before = m;
        ASSERT_TRUE(smoothNormals(m, round % 5 * 0.25f));
        ASSERT_EQ(m.normals.size(), 3u * m.vertexCount);
        for (std::size_t c = 0; c < m.indices.size(); ++c) {
            ASSERT_LT(m.indices[c], m.vertexCount);
            EXPECT_EQ(positionOf(m, m.indices[c]), positionOf(before, before.indices[c]));
        }
        for (float x : m.normals) {
            ASSERT_TRUE(std::isfinite(x));
        }
    }
}
