#include "model/Smoothing.h"
#include "core/Matrix.h"
#include "model/ModelLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// The plain crease-splitting scan: for every vertex, every corner of the mesh is examined in
// index order. Quadratic, and the yardstick for smoothNormals.
bool referenceSmoothing(Model& m, float threshold) {
    const std::size_t corners = m.indices.size();
    std::vector<float> table(corners * 4, 0.0f);
    for (std::size_t k = 0; 3 * k + 2 < corners; ++k) {
        const FaceGeometry f = faceNormalAndAngles(m.positions, m.indices[3 * k],
                                                   m.indices[3 * k + 1], m.indices[3 * k + 2]);
        for (int i = 0; i < 3; ++i) {
            float* row = &table[4 * (3 * k + i)];
            row[0] = f.normal[0];
            row[1] = f.normal[1];
            row[2] = f.normal[2];
            row[3] = f.angles[i];
        }
    }
    std::size_t count = m.vertexCount;
    std::vector<float> normal(count * 3, 0.0f), weight(count, 0.0f);
    for (std::size_t v = 0; v < count; ++v) {
        long first = -1, split = -1;
        for (std::size_t c = 0; c < corners; ++c) {
            if (m.indices[c] != v) {
                continue;
            }
            const float* row = &table[4 * c];
            if (first < 0) {
                first = static_cast<long>(c);
                weight[v] += row[3];
                for (int a = 0; a < 3; ++a) {
                    normal[3 * v + a] = row[3] * row[a];
                }
                continue;
            }
            const float* f = &table[4 * first];
            const double r = vectorAngle(f[0], f[1], f[2], row[0], row[1], row[2]) / PI;
            if (r <= threshold) {
                weight[v] += row[3];
                for (int a = 0; a < 3; ++a) {
                    normal[3 * v + a] += row[3] * row[a];
                }
            } else {
                if (split < 0) {
                    if (count >= MAX_MODEL_VERTICES) {
                        return false;
                    }
                    split = static_cast<long>(count);
                    for (int a = 0; a < 3; ++a) {
                        m.positions.push_back(m.positions[3 * v + a]);
                        normal.push_back(0.0f);
                    }
                    weight.push_back(0.0f);
                    if (m.texCoordSize > 0) {
                        m.texCoords.resize(2 * (split + 1));
                        m.texCoords[2 * split] = m.texCoords[2 * v];
                        m.texCoords[2 * split + 1] = m.texCoords[2 * v + 1];
                    }
                }
                m.indices[c] = static_cast<std::uint16_t>(split);
            }
        }
        if (split >= 0) {
            ++count;
        }
    }
    for (std::size_t v = 0; v < count; ++v) {
        if (weight[v] != 0.0f) {
            for (int a = 0; a < 3; ++a) {
                normal[3 * v + a] /= weight[v];
            }
        }
    }
    m.vertexCount = static_cast<std::uint32_t>(count);
    m.normals = normal;
    return true;
}

Model meshFrom(const std::vector<std::array<float, 3>>& points,
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

/// smoothNormals gives bit for bit what the plain scan gives: the same sums in the same order.
void checkAgainstReference(Model fast, float threshold) {
    Model plain = fast;
    const bool ok = smoothNormals(fast, threshold);
    ASSERT_EQ(ok, referenceSmoothing(plain, threshold));
    if (ok) {
        ASSERT_EQ(fast.vertexCount, plain.vertexCount);
        EXPECT_EQ(fast.indices, plain.indices);
        EXPECT_EQ(fast.normals, plain.normals);
        const auto same = [&](const std::vector<float>& a, const std::vector<float>& b,
                              std::size_t n) {
            return a.size() >= n && b.size() >= n &&
                   std::equal(a.begin(), a.begin() + n, b.begin());
        };
        EXPECT_TRUE(same(fast.positions, plain.positions, 3u * fast.vertexCount));
        if (fast.texCoordSize > 0) {
            EXPECT_TRUE(same(fast.texCoords, plain.texCoords, 2u * fast.vertexCount));
        }
    }
}

} // namespace

TEST(FaceGeometry, RightTriangleAndCoincidentCorners) {
    const FaceGeometry f = faceNormalAndAngles({0, 0, 0, 1, 0, 0, 0, 1, 0}, 0, 1, 2);
    EXPECT_FLOAT_EQ(f.normal[2], 1);
    EXPECT_FLOAT_EQ(f.angles[0], static_cast<float>(PI / 2));
    EXPECT_FLOAT_EQ(f.angles[1], static_cast<float>(PI / 4));
    // Two corners in one place: right angles there, zero at the third, a zero normal.
    const FaceGeometry g = faceNormalAndAngles({1, 1, 1, 1, 1, 1, 3, 0, 2}, 0, 1, 2);
    EXPECT_FLOAT_EQ(g.angles[0], static_cast<float>(PI / 2));
    EXPECT_FLOAT_EQ(g.angles[1], static_cast<float>(PI / 2));
    EXPECT_FLOAT_EQ(g.angles[2], 0.0f);
    EXPECT_EQ(g.normal, (std::array<float, 3>{0, 0, 0}));
}

TEST(Smoothing, CubeCornersSplitIntoOneVertexPerFaceBelowARightAngle) {
    Model m = cube();
    ASSERT_TRUE(smoothNormals(m, 0.3f));
    EXPECT_EQ(m.vertexCount, 24u);
    // Every corner's vertex carries its face's normal.
    for (std::size_t k = 0; k < m.indices.size() / 3; ++k) {
        const FaceGeometry f = faceNormalAndAngles(m.positions, m.indices[3 * k],
                                                   m.indices[3 * k + 1], m.indices[3 * k + 2]);
        for (int i = 0; i < 3; ++i) {
            for (int a = 0; a < 3; ++a) {
                EXPECT_NEAR(m.normals[3 * m.indices[3 * k + i] + a], f.normal[a], 1e-6);
            }
        }
    }
    checkAgainstReference(cube(), 0.3f);
    // Above a right angle the cube stays whole, its corner normals pointing diagonally out.
    Model whole = cube();
    ASSERT_TRUE(smoothNormals(whole, 0.6f));
    EXPECT_EQ(whole.vertexCount, 8u);
    EXPECT_LT(whole.normals[0], 0);
    EXPECT_LT(whole.normals[1], 0);
    EXPECT_LT(whole.normals[2], 0);
    checkAgainstReference(cube(), 0.6f);
}

TEST(Smoothing, SplitVertexIsSplitAgainOnItsOwnPass) {
    // Three faces around the edge from vertex 0 to vertex 2, facing +z, +x and -z: at both
    // vertices the +x and -z corners move to one new vertex, which splits again on its own pass
    // because -z is more than 54 degrees from +x.
    Model m = meshFrom({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}, {-1, 0, 0}},
                       {{0, 1, 2}, {0, 2, 4}, {0, 5, 2}});
    checkAgainstReference(m, 0.3f);
    ASSERT_TRUE(smoothNormals(m, 0.3f));
    EXPECT_EQ(m.vertexCount, 6u + 4u);
}

TEST(Smoothing, RandomMeshesMatchThePlainScan) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> coord(-10, 10);
    for (int round = 0; round < 60; ++round) {
        const int n = 3 + static_cast<int>(rng() % 40);
        const int faces = 1 + static_cast<int>(rng() % 80);
        std::vector<std::array<float, 3>> p(n);
        for (auto& x : p) {
            // Some coincident positions now and then.
            x = (rng() % 8 == 0 && &x != &p[0])
                    ? p[0]
                    : std::array<float, 3>{coord(rng), coord(rng), coord(rng)};
        }
        std::vector<std::array<std::uint16_t, 3>> t(faces);
        for (auto& f : t) {
            for (auto& i : f) {
                i = static_cast<std::uint16_t>(rng() % n);
            }
        }
        const float thresholds[] = {0.0f, 0.2f, 0.3f, 0.4f, 1.0f};
        checkAgainstReference(meshFrom(p, t, round % 2 == 0), thresholds[round % 5]);
    }
    // An unused vertex gets a finite normal.
    Model m = meshFrom({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {9, 9, 9}}, {{0, 1, 2}});
    ASSERT_TRUE(smoothNormals(m, 0.3f));
    for (float n : m.normals) {
        EXPECT_TRUE(std::isfinite(n));
    }
}

TEST(Smoothing, RefusesMoreThanSixteenBitVertices) {
    // Two opposite faces over three shared vertices: each of the three splits once.
    const auto build = [](std::size_t total) {
        std::vector<std::array<float, 3>> p(total, {0, 0, 0});
        p[0] = {0, 0, 0};
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
