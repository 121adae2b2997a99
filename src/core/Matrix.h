#pragma once
// Vector and matrix math of the scene.
//
// Matrix: 4x4 single-precision floats, OpenGL style, column major. Element (row r, column c)
// sits at index 4*c + r; the translation is held in elements 12, 13 and 14. A Matrix goes to
// glLoadMatrixf / glMultMatrixf unchanged (data()).
// Point: 4 floats (x, y, z, w); positions carry w = 1, directions w = 0.
// Angles are always in radians.

#include <array>

struct Matrix {
    std::array<float, 16> m{};

    static Matrix identity() {
        Matrix r;
        r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
        return r;
    }
    /// The translation T(x, y, z): the identity with x, y, z in elements 12 to 14.
    static Matrix translation(float x, float y, float z) {
        Matrix r = identity();
        r.m[12] = x;
        r.m[13] = y;
        r.m[14] = z;
        return r;
    }

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }
    const float* data() const { return m.data(); }
    bool operator==(const Matrix& o) const { return m == o.m; }
    bool operator!=(const Matrix& o) const { return m != o.m; }
};

using Point = std::array<float, 4>;

// Scalar helpers that take a float, compute in double precision and round the result to float.
float cosD(float angle);
float sinD(float angle);
float sqrtD(float value);

/// The product a*b (a on the left).
Matrix multiply(const Matrix& a, const Matrix& b);
/// v <- m*v, all four components.
void transformPoint(const Matrix& m, Point& v);
/// d <- d*b.
void multiplyRight(Matrix& d, const Matrix& b);
/// d <- b*d.
void multiplyLeft(Matrix& d, const Matrix& b);

/// Rotations about the coordinate axes (right-handed, radians). Order 0: d <- d*R, the rotation
/// acts about the axes and origin that d describes; order 1: d <- R*d, it acts in the frame d is
/// expressed in.
void matrixRotateX(Matrix& d, float angle, int order);
void matrixRotateY(Matrix& d, float angle, int order);
void matrixRotateZ(Matrix& d, float angle, int order);
/// d <- d*S: scaling along the object's own axes.
void scaleMatrix(Matrix& d, float sx, float sy, float sz);

/// The lengths of the three transformed unit axes.
void extractScale(const Matrix& m, float& sx, float& sy, float& sz);
/// The largest of the three extractScale values.
float maxScale(const Matrix& m);

/// Determinant of a 3x3 matrix given as 9 floats row by row, expanded along the first column.
float determinant3(const float a[9]);
/// Determinant expanded along the fourth row; writes the signed cofactors of that row into
/// k[3], k[7], k[11] and k[15] and leaves the other entries of k alone.
float determinant4(const Matrix& m, Matrix& k);
/// The adjugate divided by the determinant. A singular matrix yields non-finite values.
Matrix invertMatrix(const Matrix& m);

/// The angle in radians (0 to pi) between two 3-vectors, in double precision. A dot product of
/// exactly zero yields pi/2, also for a zero vector; cosines rounding past +-1 are clamped.
double vectorAngle(double ax, double ay, double az, double bx, double by, double bz);

/// acos and asin of a cosine or sine that rounding may have pushed a little past +-1: the
/// argument is clamped to [-1, 1] first (a NaN stays NaN).
double clampedAcos(double x);
double clampedAsin(double x);

/// Whether all 16 elements are finite numbers.
bool isFinite(const Matrix& m);

constexpr double PI = 3.141592653589793;
