#include "model/Smoothing.h"
#include "core/Matrix.h"
#include "model/Model.h"

#include <gtest/gtest.h>

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
    return meshFrom({{-1, -1, -1},
                     {1, -1, -1},
                     {1, 1, -1},
                     {-1, 1, -1},
                     {-1, -1, 1},
                     {1, -1, 1},
                     {1, 1, 1},
                     {-1, 1, 1}},
                    {{0, 2, 1},
                     {0, 3, 2},
                     {4, 5, 6},
                     {4, 6, 7},
                     {0, 1, 5},
                     {0, 5, 4},
                     {3, 7, 6},
                     {3, 6, 2},
                     {0, 4, 7},
                     {0, 7, 3},
                     {1, 2, 6},
                     {1, 6, 5}},
                    true);
}

// A closed UV sphere whose neighbouring faces differ by far less than 54 degrees.
Model sphere(int rings, int segments) {
    std::vector<std::array<float, 3>> p;
    std::vector<std::array<std::uint16_t, 3>> t;
    p.push_back({0, 1, 0});
    for (int r = 1; r < rings; ++r) {
        const double phi = PI * r / rings;
        for (int s = 0; s < segments; ++s) {
            const double theta = 2 * PI * s / segments;
            p.push_back({static_cast<float>(std::sin(phi) * std::cos(theta)),
                         static_cast<float>(std::cos(phi)),
                         static_cast<float>(std::sin(phi) * std::sin(theta))});
        }
    }
    p.push_back({0, -1, 0});
    const auto at = [&](int r, int s) {
        return static_cast<std::uint16_t>(1 + (r - 1) * segments + (s % segments));
    };
    const auto bottom = static_cast<std::uint16_t>(p.size() - 1);
    for (int s = 0; s < segments; ++s) {
        t.push_back({0, at(1, s + 1), at(1, s)});
        for (int r = 1; r + 1 < rings; ++r) {
            t.push_back({at(r, s), at(r, s + 1), at(r + 1, s + 1)});
            t.push_back({at(r, s), at(r + 1, s + 1), at(r + 1, s)});
        }
        t.push_back({bottom, at(rings - 1, s), at(rings - 1, s + 1)});
    }
    return meshFrom(p, t);
}

void expectSameResult(const Model& fast, const Model& plain) {
    ASSERT_EQ(fast.vertexCount, plain.vertexCount);
    EXPECT_EQ(fast.indices, plain.indices);
    ASSERT_EQ(fast.normals.size(), 3u * fast.vertexCount);
    for (std::size_t i = 0; i < fast.normals.size(); ++i) {
        // Bit-identical: the same sums in the same order.
        ASSERT_EQ(fast.normals[i], plain.normals[i]) << "normal float " << i;
    }
    for (std::size_t i = 0; i < 3u * fast.vertexCount; ++i) {
        ASSERT_EQ(fast.positions[i], plain.positions[i]);
    }
    if (fast.texCoordSize > 0) {
        for (std::size_t i = 0; i < 2u * fast.vertexCount; ++i) {
            ASSERT_EQ(fast.texCoords[i], plain.texCoords[i]);
        }
    }
}

void checkAgainstReference(Model m, float threshold) {
    Model plain = m;
    const bool fastOk = smoothNormals(m, threshold);
    const bool plainOk = referenceSmoothing(plain, threshold);
    ASSERT_EQ(fastOk, plainOk);
    if (fastOk) {
        expectSameResult(m, plain);
    }
}

} // namespace

TEST(FaceGeometry, RightTriangle) {
    const std::vector<float> p = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const FaceGeometry f = faceNormalAndAngles(p, 0, 1, 2);
    EXPECT_FLOAT_EQ(f.normal[2], 1);
    EXPECT_FLOAT_EQ(f.angles[0], static_cast<float>(PI / 2));
    EXPECT_FLOAT_EQ(f.angles[1], static_cast<float>(PI / 4));
    EXPECT_FLOAT_EQ(f.angles[2], static_cast<float>(PI / 4));
}

TEST(FaceGeometry, CoincidentCornersGiveRightAnglesAndZero) {
    const std::vector<float> p = {1, 1, 1, 1, 1, 1, 3, 0, 2};
    const FaceGeometry f = faceNormalAndAngles(p, 0, 1, 2);
    EXPECT_FLOAT_EQ(f.angles[0], static_cast<float>(PI / 2));
    EXPECT_FLOAT_EQ(f.angles[1], static_cast<float>(PI / 2));
    EXPECT_FLOAT_EQ(f.angles[2], 0.0f);
    for (float n : f.normal) {
        EXPECT_EQ(n, 0.0f); // zero area: a finite normal
    }
}

TEST(Smoothing, CubeCornersSplitIntoOneVertexPerFace) {
    Model m = cube();
    ASSERT_TRUE(smoothNormals(m, 0.3f));
    EXPECT_EQ(m.vertexCount, 24u);
    // Every corner's vertex carries its face's normal.
    for (std::size_t k = 0; k < m.indices.size() / 3; ++k) {
        const FaceGeometry f = faceNormalAndAngles(m.positions, m.indices[3 * k],
                                                   m.indices[3 * k + 1], m.indices[3 * k + 2]);
        for (int i = 0; i < 3; ++i) {
            const std::uint16_t v = m.indices[3 * k + i];
            for (int a = 0; a < 3; ++a) {
                EXPECT_NEAR(m.normals[3 * v + a], f.normal[a], 1e-6);
            }
        }
    }
    // Split vertices inherit the texture coordinates of their original.
    for (std::uint32_t v = 8; v < 24; ++v) {
        bool found = false;
        for (std::uint32_t o = 0; o < 8 && !found; ++o) {
            found = m.positions[3 * v] == m.positions[3 * o] &&
                    m.positions[3 * v + 1] == m.positions[3 * o + 1] &&
                    m.positions[3 * v + 2] == m.positions[3 * o + 2] &&
                    m.texCoords[2 * v] == m.texCoords[2 * o] &&
                    m.texCoords[2 * v + 1] == m.texCoords[2 * o + 1];
        }
        EXPECT_TRUE(found) << "vertex " << v;
    }
    checkAgainstReference(cube(), 0.3f);
}

TEST(Smoothing, ThresholdAboveRightAngleKeepsCubeWhole) {
    Model m = cube();
    ASSERT_TRUE(smoothNormals(m, 0.6f));
    EXPECT_EQ(m.vertexCount, 8u);
    // Corner normals point diagonally outward.
    EXPECT_LT(m.normals[0], 0);
    EXPECT_LT(m.normals[1], 0);
    EXPECT_LT(m.normals[2], 0);
}

TEST(Smoothing, SmoothSphereKeepsItsVertexCount) {
    Model m = sphere(12, 24);
    const std::uint32_t before = m.vertexCount;
    ASSERT_TRUE(smoothNormals(m, 0.3f));
    EXPECT_EQ(m.vertexCount, before);
    for (std::uint32_t v = 0; v < m.vertexCount; ++v) {
        // The averaged normal points out along the position.
        const float dot = m.normals[3 * v] * m.positions[3 * v] +
                          m.normals[3 * v + 1] * m.positions[3 * v + 1] +
                          m.normals[3 * v + 2] * m.positions[3 * v + 2];
        EXPECT_GT(dot, 0.95f);
    }
    checkAgainstReference(sphere(12, 24), 0.3f);
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

TEST(Smoothing, CoincidentCornersAndUnusedVertices) {
    checkAgainstReference(meshFrom({{0, 0, 0}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}},
                                   {{0, 1, 2}, {0, 2, 3}, {1, 3, 2}}),
                          0.3f);
    Model m = meshFrom({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {9, 9, 9}}, {{0, 1, 2}});
    ASSERT_TRUE(smoothNormals(m, 0.3f));
    for (float n : m.normals) {
        EXPECT_TRUE(std::isfinite(n));
    }
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
