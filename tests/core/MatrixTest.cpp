#include "core/Matrix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float EPS = 1e-5f;

void expectPoint(const Point& p, float x, float y, float z, float w = 1.0f) {
    EXPECT_NEAR(p[0], x, EPS);
    EXPECT_NEAR(p[1], y, EPS);
    EXPECT_NEAR(p[2], z, EPS);
    EXPECT_NEAR(p[3], w, EPS);
}

void expectIdentity(const Matrix& m, float eps = EPS) {
    const Matrix id = Matrix::identity();
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(m[i], id[i], eps) << "element " << i;
    }
}

Point transformed(const Matrix& m, Point p) {
    transformPoint(m, p);
    return p;
}

} // namespace

TEST(Matrix, LayoutIsColumnMajorWithTranslationInTwelveToFourteen) {
    const Matrix t = Matrix::translation(1, 2, 3);
    EXPECT_EQ(t[12], 1);
    EXPECT_EQ(t[13], 2);
    EXPECT_EQ(t[14], 3);
    expectPoint(transformed(t, {1, 1, 1, 1}), 2, 3, 4);
    // A direction (w = 0) is not moved.
    expectPoint(transformed(t, {1, 1, 1, 0}), 1, 1, 1, 0);
}

TEST(Matrix, ProductAppliesRightFactorFirst) {
    Matrix d = Matrix::translation(10, 0, 0);
    Matrix s = Matrix::identity();
    scaleMatrix(s, 2, 2, 2);
    Matrix right = d;
    multiplyRight(right, s); // translate after scaling
    expectPoint(transformed(right, {1, 0, 0, 1}), 12, 0, 0);
    Matrix left = d;
    multiplyLeft(left, s); // scale after translating
    expectPoint(transformed(left, {1, 0, 0, 1}), 22, 0, 0);
}

TEST(Matrix, MultiplyWithItselfIsSafe) {
    Matrix d = Matrix::translation(1, 2, 3);
    multiplyRight(d, d);
    expectPoint(transformed(d, {0, 0, 0, 1}), 2, 4, 6);
}

TEST(Matrix, QuarterTurnsAboutEachAxis) {
    const float quarter = static_cast<float>(PI / 2);
    Matrix x = Matrix::identity();
    matrixRotateX(x, quarter, 0);
    expectPoint(transformed(x, {0, 1, 0, 1}), 0, 0, 1);
    Matrix y = Matrix::identity();
    matrixRotateY(y, quarter, 0);
    expectPoint(transformed(y, {0, 0, 1, 1}), 1, 0, 0);
    Matrix z = Matrix::identity();
    matrixRotateZ(z, quarter, 0);
    expectPoint(transformed(z, {1, 0, 0, 1}), 0, 1, 0);
}

TEST(Matrix, OrderZeroRotatesAboutOwnOriginOrderOneAboutParent) {
    const float quarter = static_cast<float>(PI / 2);
    Matrix own = Matrix::translation(5, 0, 0);
    matrixRotateY(own, quarter, 0);
    EXPECT_EQ(own[12], 5);
    EXPECT_EQ(own[13], 0);
    EXPECT_EQ(own[14], 0);
    expectPoint(transformed(own, {0, 0, 1, 1}), 6, 0, 0);

    Matrix parent = Matrix::translation(5, 0, 0);
    matrixRotateY(parent, quarter, 1);
    // The translation turns with it: (5, 0, 0) about Y by 90 degrees is (0, 0, -5).
    EXPECT_NEAR(parent[12], 0, EPS);
    EXPECT_NEAR(parent[14], -5, EPS);
}

TEST(Matrix, ExtractScaleIgnoresRotationAndTranslation) {
    Matrix m = Matrix::translation(7, -3, 2);
    matrixRotateX(m, 0.3f, 0);
    matrixRotateY(m, -1.1f, 0);
    matrixRotateZ(m, 2.0f, 0);
    scaleMatrix(m, 2, 3, 4);
    float sx, sy, sz;
    extractScale(m, sx, sy, sz);
    EXPECT_NEAR(sx, 2, 1e-5);
    EXPECT_NEAR(sy, 3, 1e-5);
    EXPECT_NEAR(sz, 4, 1e-5);
    EXPECT_NEAR(maxScale(m), 4, 1e-5);
    // Ties and a negative scale: lengths are positive.
    Matrix mirrored = Matrix::identity();
    scaleMatrix(mirrored, -5, 5, 1);
    EXPECT_FLOAT_EQ(maxScale(mirrored), 5);
}

TEST(Matrix, Determinants) {
    const float diag[9] = {2, 0, 0, 0, 3, 0, 0, 0, 4};
    EXPECT_FLOAT_EQ(determinant3(diag), 24);
    const float rows[9] = {1, 2, 3, 4, 5, 6, 7, 8, 10};
    EXPECT_FLOAT_EQ(determinant3(rows), -3);

    Matrix m = Matrix::identity();
    scaleMatrix(m, 2, 3, 4);
    Matrix k = Matrix::identity();
    k[0] = 42;
    EXPECT_FLOAT_EQ(determinant4(m, k), 24);
    // Only the fourth-row cofactors are written.
    EXPECT_EQ(k[0], 42);
    EXPECT_FLOAT_EQ(k[15], 24);
    EXPECT_FLOAT_EQ(k[3], 0);

    // A translation column does not change the determinant.
    Matrix t = Matrix::translation(4, 5, 6);
    scaleMatrix(t, 1, 2, 1);
    EXPECT_FLOAT_EQ(determinant4(t, k), 2);
}

TEST(Matrix, InverseOfRigidTransformGivesIdentityProduct) {
    Matrix m = Matrix::translation(10, -20, 30);
    matrixRotateY(m, 0.7f, 0);
    matrixRotateX(m, -0.4f, 0);
    const Matrix inv = invertMatrix(m);
    expectIdentity(multiply(m, inv), 1e-4f);
    expectIdentity(multiply(inv, m), 1e-4f);
    // The inverse of a pure translation is exact.
    const Matrix back = invertMatrix(Matrix::translation(1, 2, 3));
    EXPECT_FLOAT_EQ(back[12], -1);
    EXPECT_FLOAT_EQ(back[13], -2);
    EXPECT_FLOAT_EQ(back[14], -3);
}

TEST(Matrix, InverseOfSingularMatrixIsNotFinite) {
    Matrix flat = Matrix::identity();
    scaleMatrix(flat, 1, 0, 1);
    const Matrix inv = invertMatrix(flat);
    bool anyNonFinite = false;
    for (float v : inv.m) {
        anyNonFinite = anyNonFinite || !std::isfinite(v);
    }
    EXPECT_TRUE(anyNonFinite);
}

TEST(VectorAngle, ParallelOppositeAndPerpendicular) {
    EXPECT_DOUBLE_EQ(vectorAngle(1, 2, 3, 2, 4, 6), 0.0);
    EXPECT_DOUBLE_EQ(vectorAngle(1, 0, 0, -3, 0, 0), PI);
    EXPECT_DOUBLE_EQ(vectorAngle(1, 0, 0, 0, 5, 0), PI / 2);
    EXPECT_NEAR(vectorAngle(1, 0, 0, 1, 1, 0), PI / 4, 1e-12);
}

TEST(VectorAngle, ZeroVectorGivesRightAngle) {
    EXPECT_DOUBLE_EQ(vectorAngle(0, 0, 0, 1, 2, 3), PI / 2);
    EXPECT_DOUBLE_EQ(vectorAngle(1, 2, 3, 0, 0, 0), PI / 2);
    EXPECT_DOUBLE_EQ(vectorAngle(0, 0, 0, 0, 0, 0), PI / 2);
}

TEST(VectorAngle, CosineRoundingPastOneIsClampedNotNaN) {
    // Nearly parallel vectors whose normalised dot product rounds above 1 or below -1.
    const double a[3] = {0.1, 0.2, 0.3};
    for (double scale : {3.0, 7.0, 1e-3, 1e5}) {
        const double same = vectorAngle(a[0], a[1], a[2], a[0] * scale, a[1] * scale, a[2] * scale);
        EXPECT_FALSE(std::isnan(same));
        EXPECT_NEAR(same, 0.0, 1e-7);
        const double opposite =
            vectorAngle(a[0], a[1], a[2], -a[0] * scale, -a[1] * scale, -a[2] * scale);
        EXPECT_FALSE(std::isnan(opposite));
        EXPECT_NEAR(opposite, PI, 1e-7);
    }
}

TEST(ScalarHelpers, ComputeInDoubleAndRoundToFloat) {
    EXPECT_EQ(cosD(0.5f), static_cast<float>(std::cos(0.5)));
    EXPECT_EQ(sinD(static_cast<float>(PI)), static_cast<float>(std::sin(static_cast<float>(PI))));
    EXPECT_EQ(sqrtD(2.0f), static_cast<float>(std::sqrt(2.0)));
}
