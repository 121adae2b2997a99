#include "assets/Shapes.h"
#include "MeshChecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

constexpr double PI = 3.141592653589793;

void expectSolid(const Mesh3ds& mesh, double volume) {
    const auto s = meshcheck::solidity(mesh);
    EXPECT_EQ(s.unpairedEdges, 0);
    EXPECT_GT(s.minPartVolume6, 0);
    EXPECT_GT(s.minArea2, 1e-6);
    EXPECT_NEAR(signedVolume6(mesh) / 6, volume, 1e-4 * volume);
}

float dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vec3 minus(const Vec3& a, const Vec3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

TEST(Box, ClosedWithEveryFaceMappedUnmirroredSeenFromOutside) {
    const Mesh3ds box = makeBox({-1, -2, -3}, {1, 2, 3}, {2, 3, 4});
    expectSolid(box, 2 * 4 * 6);
    EXPECT_EQ(box.faces.size(), 2u * 2 * (2 * 3 + 4 * 3 + 2 * 4));
    // Seen from outside, s grows to the right and t upwards (+y; on top -z, below +z).
    for (const auto& f : box.faces) {
        const auto& p = box.positions;
        const Vec3 n = cross(minus(p[f[1]], p[f[0]]), minus(p[f[2]], p[f[0]]));
        const Vec3 up = std::abs(n[1]) > 0 ? Vec3{0, 0, n[1] > 0 ? -1.0f : 1.0f} : Vec3{0, 1, 0};
        const Vec3 right = cross(up, n);
        for (int k = 1; k < 3; ++k) {
            const Vec3 d = minus(p[f[k]], p[f[0]]);
            EXPECT_EQ(dot(d, right) > 0, box.texCoords[f[k]][0] > box.texCoords[f[0]][0]);
            EXPECT_EQ(dot(d, up) > 0, box.texCoords[f[k]][1] > box.texCoords[f[0]][1]);
        }
    }
    EXPECT_THROW(makeBox({0, 0, 0}, {1, 0, 1}), std::invalid_argument);
    EXPECT_THROW(makeBox({0, 0, 0}, {1, 1, 1}, {1, 0, 1}), std::invalid_argument);
}

TEST(Lathe, ClosedSolidAboutEachAxisWithPoleFansAndSeam) {
    const int n = 12;
    // A cylinder of radius 2 from h = -1 to 3 with a sharp bottom rim, then a cone up to h = 5.
    const std::vector<ProfilePoint> profile = {{-1, 0}, {-1, 2, true}, {3, 2}, {5, 0}};
    const double area = n / 2.0 * 4 * std::sin(2 * PI / n); // of the inscribed polygon
    for (Axis axis : {Axis::X, Axis::Y, Axis::Z}) {
        SCOPED_TRACE(int(axis));
        const Mesh3ds mesh = makeLathe(profile, n, axis);
        expectSolid(mesh, area * 4 + area * 2 / 3);
        // Single vertices at the poles, two rings at the sharp rim, seam column doubled.
        EXPECT_EQ(mesh.positions.size(), 2u + 3 * (n + 1));
        EXPECT_EQ(mesh.faces.size(), 4u * n);
        const int a = axis == Axis::X ? 0 : axis == Axis::Y ? 1 : 2;
        EXPECT_EQ(mesh.positions.front()[a], -1);
        EXPECT_EQ(mesh.positions.back()[a], 5);
        // t by arc length (the rim after 2 of 2 + 4 + sqrt 8); the seam column has s = 1.
        EXPECT_NEAR(mesh.texCoords[1][1], 2 / (6 + std::sqrt(8.0)), 1e-6);
        EXPECT_EQ(mesh.texCoords[1 + n][0], 1);
        EXPECT_EQ(mesh.positions[1 + n], mesh.positions[1]);
    }
    // Without a mapping the seam closes on the first column.
    EXPECT_EQ(makeLathe(profile, n, Axis::Y, false).positions.size(), 2u + 3 * n);
}

TEST(Lathe, RefusesBadProfiles) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<std::vector<ProfilePoint>> bad = {
        {{0, 1}},                   // one point
        {{0, 0}, {1, -1}, {2, 0}},  // negative radius
        {{0, 0}, {nan, 1}, {2, 0}}, // not finite
        {{0, 0}, {1, 1}, {1, 1}},   // equal neighbours
        {{0, 0}, {1, 0}, {1, 1}},   // segment on the axis
    };
    for (const auto& profile : bad) {
        EXPECT_THROW(makeLathe(profile, 8, Axis::Z), std::invalid_argument);
    }
    EXPECT_THROW(makeLathe({{0, 0}, {1, 1}}, 2, Axis::Z), std::invalid_argument);
    EXPECT_THROW(makeSphere(1, 8, 1), std::invalid_argument);
}

TEST(Transform, RightHandedRotationsAndFacesKeptOutward) {
    const auto near = [](const Vec3& a, const Vec3& b) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(a[k], b[k], 1e-6) << k;
        }
    };
    near(Transform::rotation(Axis::Z, PI / 2).apply({1, 0, 0}), {0, 1, 0});
    near(Transform::rotation(Axis::X, PI / 2).apply({0, 1, 0}), {0, 0, 1});
    near(Transform::rotation(Axis::Y, PI / 2).apply({0, 0, 1}), {1, 0, 0});
    const Transform turn = Transform::rotationAbout({1, 2, 3}, {0, 0, 2}, PI / 2);
    near(turn.apply({1, 2, 3}), {1, 2, 3});
    near(turn.apply({2, 2, 7}), {1, 3, 7});
    EXPECT_THROW(Transform::rotationAbout({0, 0, 0}, {0, 0, 0}, 1), std::invalid_argument);

    // Mirroring reverses the winding; bent boxes of either orientation face outwards.
    expectSolid(transformed(makeBox({0, 0, 0}, {1, 2, 3}), Transform::scaling(-1, 1, 1)), 6);
    expectSolid(makeShapedBox(
                    [](float a, float b, float c) {
                        return Vec3{-a, b, c};
                    },
                    {2, 2, 2}),
                1);
}

TEST(Append, OffsetsIndicesAndKeepsMappingsConsistent) {
    Mesh3ds mesh = makeBox({0, 0, 0}, {1, 1, 1});
    append(mesh, makeBox({2, 0, 0}, {3, 1, 1}));
    EXPECT_EQ(mesh.texCoords.size(), mesh.positions.size());
    expectSolid(mesh, 2);
    EXPECT_THROW(append(mesh, makeBox({0, 0, 0}, {1, 1, 1}, {1, 1, 1}, false)),
                 std::invalid_argument);
    mesh.positions.resize(MAX_3DS_COUNT - 10);
    mesh.texCoords.resize(MAX_3DS_COUNT - 10);
    EXPECT_THROW(append(mesh, makeBox({2, 0, 0}, {3, 1, 1})), std::invalid_argument);
}

} // namespace
