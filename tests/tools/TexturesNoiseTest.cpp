#include "assets/TexturesNoise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

using namespace texnoise;

namespace {

/// Deterministic sample positions spread over [-span, span)^2.
std::vector<std::pair<float, float>> samples(int count, float span) {
    std::vector<std::pair<float, float>> points;
    for (int i = 0; i < count; ++i) {
        points.emplace_back((hashUnit(i, 1, 99) * 2 - 1) * span,
                            (hashUnit(i, 2, 99) * 2 - 1) * span);
    }
    return points;
}

TEST(TexturesNoise, WrapAndSmoothstep) {
    EXPECT_EQ(wrap(0, 5), 0);
    EXPECT_EQ(wrap(7, 5), 2);
    EXPECT_EQ(wrap(-1, 5), 4);
    EXPECT_EQ(wrap(-10, 5), 0);
    EXPECT_EQ(wrap(-11, 5), 4);
    EXPECT_EQ(smoothstep(1, 2, 0.5f), 0.0f);
    EXPECT_EQ(smoothstep(1, 2, 3.0f), 1.0f);
    EXPECT_FLOAT_EQ(smoothstep(1, 2, 1.5f), 0.5f);
    float last = 0;
    for (float x = 1; x <= 2; x += 0.01f) {
        EXPECT_GE(smoothstep(1, 2, x), last);
        last = smoothstep(1, 2, x);
    }
}

TEST(TexturesNoise, HashSpreadsPointsAndSeeds) {
    EXPECT_EQ(hash(3, -4, 7), hash(3, -4, 7));
    std::set<std::uint32_t> seen;
    double sum = 0;
    for (int y = -32; y < 32; ++y) {
        for (int x = -32; x < 32; ++x) {
            seen.insert(hash(x, y, 1));
            const float h = hashUnit(x, y, 1);
            ASSERT_GE(h, 0.0f);
            ASSERT_LT(h, 1.0f);
            sum += h;
        }
    }
    EXPECT_GE(seen.size(), 4090u); // nearly no collisions among 4096 points
    EXPECT_NEAR(sum / 4096, 0.5, 0.02);
    // Swapped coordinates and neighbouring seeds give unrelated values.
    int same = 0;
    for (int i = 0; i < 100; ++i) {
        same += hash(i, i + 1, 1) == hash(i + 1, i, 1);
        same += hash(i, 0, 1) == hash(i, 0, 2);
    }
    EXPECT_EQ(same, 0);
}

TEST(TexturesNoise, ValueNoiseInterpolatesLatticeValues) {
    for (int j = -3; j < 9; ++j) {
        for (int i = -3; i < 9; ++i) {
            EXPECT_FLOAT_EQ(valueNoise(float(i), float(j), 6, 4, 5),
                            hashUnit(wrap(i, 6), wrap(j, 4), 5));
        }
    }
    for (const auto& [x, y] : samples(2000, 20)) {
        const float n = valueNoise(x, y, 6, 4, 5);
        ASSERT_GE(n, 0.0f);
        ASSERT_LE(n, 1.0f);
    }
}

TEST(TexturesNoise, NoiseRepeatsWithItsPeriod) {
    for (const auto& [x, y] : samples(500, 10)) {
        EXPECT_NEAR(valueNoise(x + 6, y, 6, 4, 5), valueNoise(x, y, 6, 4, 5), 1e-4);
        EXPECT_NEAR(valueNoise(x, y - 4, 6, 4, 5), valueNoise(x, y, 6, 4, 5), 1e-4);
        EXPECT_NEAR(gradientNoise(x - 3, y, 3, 7, 5), gradientNoise(x, y, 3, 7, 5), 1e-4);
        EXPECT_NEAR(gradientNoise(x, y + 7, 3, 7, 5), gradientNoise(x, y, 3, 7, 5), 1e-4);
        EXPECT_NEAR(fbm(x + 2, y + 3, 2, 3, 5, 0.5f, 8), fbm(x, y, 2, 3, 5, 0.5f, 8), 1e-4);
    }
    // A period one cell shorter does not repeat after the longer one.
    int differ = 0;
    for (const auto& [x, y] : samples(200, 10)) {
        differ += std::abs(gradientNoise(x + 6, y, 5, 5, 1) - gradientNoise(x, y, 5, 5, 1)) > 1e-3;
    }
    EXPECT_GT(differ, 150);
}

TEST(TexturesNoise, GradientNoiseRangeAndContinuity) {
    EXPECT_EQ(gradientNoise(2, 3, 8, 8, 1), 0.0f); // zero on lattice points
    double sum = 0, sumSquares = 0;
    const auto points = samples(5000, 16);
    for (const auto& [x, y] : points) {
        const float n = gradientNoise(x, y, 8, 8, 1);
        ASSERT_LE(std::abs(n), 1.05f);
        sum += n;
        sumSquares += double(n) * n;
        // Smooth: a step of 1e-3 cells moves the value by at most a few thousandths.
        EXPECT_LT(std::abs(gradientNoise(x + 1e-3f, y, 8, 8, 1) - n), 5e-3);
        EXPECT_LT(std::abs(valueNoise(x, y + 1e-3f, 8, 8, 1) - valueNoise(x, y, 8, 8, 1)), 5e-3);
    }
    EXPECT_NEAR(sum / points.size(), 0.0, 0.05);
    EXPECT_GT(sumSquares / points.size(), 0.02); // not flat
}

TEST(TexturesNoise, FbmIsBoundedAndSeeded) {
    EXPECT_EQ(fbm(0.3f, 0.7f, 4, 4, 0, 0.5f, 1), 0.0f);
    double spread = 0;
    for (const auto& [x, y] : samples(2000, 8)) {
        const float n = fbm(x, y, 4, 4, 6, 0.6f, 1);
        ASSERT_LE(std::abs(n), 1.6f + 1e-4f);
        spread += std::abs(n - fbm(x, y, 4, 4, 6, 0.6f, 2));
    }
    EXPECT_GT(spread / 2000, 0.1); // another seed, another pattern
    // One octave is plain gradient noise, scaled.
    EXPECT_FLOAT_EQ(fbm(1.3f, 2.6f, 4, 4, 1, 0.5f, 3), 1.6f * gradientNoise(1.3f, 2.6f, 4, 4, 3));
}

TEST(TexturesNoise, CellularMatchesBruteForce) {
    const int px = 5, py = 4;
    for (float jitter : {0.0f, 0.5f, 0.8f, 1.0f}) {
        SCOPED_TRACE(jitter);
        // Against every feature point of several periods around the samples.
        for (const auto& [x, y] : samples(400, 6)) {
            const Cellular c = cellular(x, y, px, py, jitter, 11);
            std::vector<std::pair<float, std::uint32_t>> all;
            for (int j = -8; j < 12; ++j) {
                for (int i = -9; i < 14; ++i) {
                    const std::uint32_t h = hash(wrap(i, px), wrap(j, py), 11);
                    const float fx =
                        float(i) + 0.5f + jitter * (float(h & 0xFFFF) / 65535.0f - 0.5f);
                    const float fy = float(j) + 0.5f + jitter * (float(h >> 16) / 65535.0f - 0.5f);
                    all.emplace_back(std::hypot(fx - x, fy - y),
                                     hash(wrap(i, px), wrap(j, py), 11 ^ 0xA5A5A5A5u));
                }
            }
            std::sort(all.begin(), all.end());
            ASSERT_NEAR(c.f1, all[0].first, 1e-4);
            ASSERT_NEAR(c.f2, all[1].first, 1e-4);
            ASSERT_EQ(c.id, all[0].second);
            ASSERT_LE(c.f1, c.f2);
            ASSERT_NEAR(std::hypot(c.nearestX - x, c.nearestY - y), c.f1, 1e-4);
            const Cellular shifted = cellular(x + px, y - py, px, py, jitter, 11);
            EXPECT_NEAR(shifted.f1, c.f1, 1e-3);
            EXPECT_EQ(shifted.id, c.id);
        }
    }
    // Without jitter the nearest point of a cell's centre is that centre.
    EXPECT_FLOAT_EQ(cellular(2.5f, 1.5f, 5, 4, 0.0f, 3).f1, 0.0f);
    EXPECT_FLOAT_EQ(cellular(2.5f, 1.5f, 5, 4, 0.0f, 3).f2, 1.0f);
}

} // namespace
