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

Point transformed(const Matrix& m, Point p) {
    transformPoint(m, p);
    return p;
}

} // namespace

TEST(Matrix, ColumnMajorProductsApplyTheRightFactorFirst) {
    const Matrix t = Matrix::translation(1, 2, 3);
    expectPoint(transformed(t, {1, 1, 1, 1}), 2, 3, 4);
    expectPoint(transformed(t, {1, 1, 1, 0}), 1, 1, 1, 0); // a direction is not moved

    Matrix s = Matrix::identity();
    scaleMatrix(s, 2, 2, 2);
    Matrix right = Matrix::translation(10, 0, 0);
    multiplyRight(right, s); // translate after scaling
    expectPoint(transformed(right, {1, 0, 0, 1}), 12, 0, 0);
    Matrix left = Matrix::translation(10, 0, 0);
    multiplyLeft(left, s); // scale after translating
    expectPoint(transformed(left, {1, 0, 0, 1}), 22, 0, 0);
    Matrix twice = t;
    multiplyRight(twice, twice); // with itself
    expectPoint(transformed(twice, {0, 0, 0, 1}), 2, 4, 6);
}

TEST(Matrix, RotationsTurnRightHandedAboutTheirOwnOriginOrTheParents) {
    const float quarter = static_cast<float>(PI / 2);
    Matrix x = Matrix::identity(), y = Matrix::identity(), z = Matrix::identity();
    matrixRotateX(x, quarter, 0);
    matrixRotateY(y, quarter, 0);
    matrixRotateZ(z, quarter, 0);
    expectPoint(transformed(x, {0, 1, 0, 1}), 0, 0, 1);
    expectPoint(transformed(y, {0, 0, 1, 1}), 1, 0, 0);
    expectPoint(transformed(z, {1, 0, 0, 1}), 0, 1, 0);

    Matrix own = Matrix::translation(5, 0, 0);
    matrixRotateY(own, quarter, 0); // order 0: the translation stays
    expectPoint(transformed(own, {0, 0, 1, 1}), 6, 0, 0);
    Matrix parent = Matrix::translation(5, 0, 0);
    matrixRotateY(parent, quarter, 1); // order 1: the translation turns with it
    expectPoint(transformed(parent, {0, 0, 0, 1}), 0, 0, -5);
}

TEST(Matrix, ExtractScaleIgnoresRotationTranslationAndSign) {
    Matrix m = Matrix::translation(7, -3, 2);
    matrixRotateX(m, 0.3f, 0);
    matrixRotateY(m, -1.1f, 0);
    scaleMatrix(m, 2, 3, 4);
    float sx, sy, sz;
    extractScale(m, sx, sy, sz);
    EXPECT_NEAR(sx, 2, 1e-5);
    EXPECT_NEAR(sy, 3, 1e-5);
    EXPECT_NEAR(sz, 4, 1e-5);
    EXPECT_NEAR(maxScale(m), 4, 1e-5); // the inverse is checked below
    Matrix mirrored = Matrix::identity();
    scaleMatrix(mirrored, -5, 5, 1);
    EXPECT_FLOAT_EQ(maxScale(mirrored), 5);
}

TEST(Matrix, InverseGivesTheIdentityAndIsNotFiniteWhenSingular) {
    Matrix m = Matrix::translation(10, -20, 30);
    matrixRotateY(m, 0.7f, 0);
    matrixRotateX(m, -0.4f, 0);
    scaleMatrix(m, 1, 2, 0.5f);
    const Matrix inv = invertMatrix(m);
    const Matrix product = multiply(m, inv), other = multiply(inv, m);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(product[i], Matrix::identity()[i], 1e-4) << i;
        EXPECT_NEAR(other[i], Matrix::identity()[i], 1e-4) << i;
    }

    Matrix flat = Matrix::identity();
    scaleMatrix(flat, 1, 0, 1);
    bool anyNonFinite = false;
    for (float v : invertMatrix(flat).m) {
        anyNonFinite = anyNonFinite || !std::isfinite(v);
    }
    EXPECT_TRUE(anyNonFinite);
}

TEST(VectorAngle, EdgeCasesStayInRange) {
    EXPECT_DOUBLE_EQ(vectorAngle(1, 0, 0, 0, 5, 0), PI / 2);
    // A zero vector gives a right angle.
    EXPECT_DOUBLE_EQ(vectorAngle(0, 0, 0, 1, 2, 3), PI / 2);
    // Nearly parallel vectors whose normalised dot product rounds past 1 or -1: clamped.
    for (double scale : {3.0, 7.0, 1e-3, 1e5}) {
        EXPECT_NEAR(vectorAngle(0.1, 0.2, 0.3, 0.1 * scale, 0.2 * scale, 0.3 * scale), 0.0, 1e-7);
        EXPECT_NEAR(vectorAngle(0.1, 0.2, 0.3, -0.1 * scale, -0.2 * scale, -0.3 * scale), PI, 1e-7);
    }
}
