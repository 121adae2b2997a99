#include "core/Matrix.h"

#include <gtest/gtest.h>

namespace {

Matrix turned(void (*turn)(Matrix&, float, int), Matrix m, int order = 0) {
    turn(m, static_cast<float>(PI / 2), order);
    return m;
}

Matrix scaled(float x, float y, float z) {
    Matrix m = Matrix::identity();
    scaleMatrix(m, x, y, z);
    return m;
}

} // namespace

TEST(Matrix, ProductsAndQuarterTurnsMovePointsAsColumnMajorRightHandedMatrices) {
    const Matrix I = Matrix::identity(), t = Matrix::translation(1, 2, 3);
    const Matrix x10 = Matrix::translation(10, 0, 0), x5 = Matrix::translation(5, 0, 0);
    Matrix twice = t;
    multiplyRight(twice, twice);
    const struct {
        const char* name;
        Matrix m;
        Point in, out;
    } cases[] = {
        {"translation", t, {1, 1, 1, 1}, {2, 3, 4, 1}},
        {"a direction is not moved", t, {1, 1, 1, 0}, {1, 1, 1, 0}},
        {"translate after scaling", multiply(x10, scaled(2, 2, 2)), {1, 0, 0, 1}, {12, 0, 0, 1}},
        {"scale after translating", multiply(scaled(2, 2, 2), x10), {1, 0, 0, 1}, {22, 0, 0, 1}},
        {"times itself in place", twice, {0, 0, 0, 1}, {2, 4, 6, 1}},
        {"about x", turned(matrixRotateX, I), {0, 1, 0, 1}, {0, 0, 1, 1}},
        {"about y", turned(matrixRotateY, I), {0, 0, 1, 1}, {1, 0, 0, 1}},
        {"about z", turned(matrixRotateZ, I), {1, 0, 0, 1}, {0, 1, 0, 1}},
        {"about its own origin", turned(matrixRotateY, x5), {0, 0, 1, 1}, {6, 0, 0, 1}},
        {"about the parent's origin", turned(matrixRotateY, x5, 1), {0, 0, 0, 1}, {0, 0, -5, 1}},
    };
    for (const auto& c : cases) {
        Point p = c.in;
        transformPoint(c.m, p);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(p[i], c.out[i], 1e-5) << c.name << ", component " << i;
        }
    }
}

TEST(Matrix, ScaleAndInverseSeeThroughTurnsAndMovesAndASingularInverseIsNotFinite) {
    Matrix m = Matrix::translation(7, -3, 2);
    matrixRotateX(m, 0.3f, 0);
    matrixRotateY(m, -1.1f, 0);
    scaleMatrix(m, 2, 3, 0.5f);
    float sx, sy, sz;
    extractScale(m, sx, sy, sz);
    EXPECT_NEAR(sx, 2, 1e-5);
    EXPECT_NEAR(sy, 3, 1e-5);
    EXPECT_NEAR(sz, 0.5f, 1e-5);
    EXPECT_NEAR(maxScale(m), 3, 1e-5);
    EXPECT_FLOAT_EQ(maxScale(scaled(-5, 4, 1)), 5); // a mirrored axis counts by its size
    const Matrix inv = invertMatrix(m), product = multiply(m, inv), other = multiply(inv, m);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(product[i], Matrix::identity()[i], 1e-4) << i;
        EXPECT_NEAR(other[i], Matrix::identity()[i], 1e-4) << i;
    }
    EXPECT_FALSE(isFinite(invertMatrix(scaled(1, 0, 1))));
}

TEST(VectorAngle, EdgeCasesStayInRange) {
    EXPECT_DOUBLE_EQ(vectorAngle(1, 0, 0, 0, 5, 0), PI / 2);
    EXPECT_DOUBLE_EQ(vectorAngle(0, 0, 0, 1, 2, 3), PI / 2); // a zero vector: a right angle
    // Nearly parallel vectors whose normalised dot product rounds past 1 or -1: clamped.
    for (double k : {3.0, 7.0, 1e-3, 1e5}) {
        EXPECT_NEAR(vectorAngle(0.1, 0.2, 0.3, 0.1 * k, 0.2 * k, 0.3 * k), 0.0, 1e-7) << k;
        EXPECT_NEAR(vectorAngle(0.1, 0.2, 0.3, -0.1 * k, -0.2 * k, -0.3 * k), PI, 1e-7) << k;
    }
}
