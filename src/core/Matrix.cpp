#include "core/Matrix.h"

#include <cmath>

float cosD(float angle) {
    return static_cast<float>(std::cos(static_cast<double>(angle)));
}
float sinD(float angle) {
    return static_cast<float>(std::sin(static_cast<double>(angle)));
}
float sqrtD(float value) {
    return static_cast<float>(std::sqrt(static_cast<double>(value)));
}

Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix r;
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            r.m[4 * c + row] = a.m[row] * b.m[4 * c] + a.m[4 + row] * b.m[4 * c + 1] +
                               a.m[8 + row] * b.m[4 * c + 2] + a.m[12 + row] * b.m[4 * c + 3];
        }
    }
    return r;
}

void transformPoint(const Matrix& m, Point& v) {
    const float x = v[0], y = v[1], z = v[2], w = v[3];
    v[0] = m[0] * x + m[4] * y + m[8] * z + m[12] * w;
    v[1] = m[1] * x + m[5] * y + m[9] * z + m[13] * w;
    v[2] = m[2] * x + m[6] * y + m[10] * z + m[14] * w;
    v[3] = m[3] * x + m[7] * y + m[11] * z + m[15] * w;
}

void multiplyRight(Matrix& d, const Matrix& b) {
    d = multiply(d, b);
}
void multiplyLeft(Matrix& d, const Matrix& b) {
    d = multiply(b, d);
}

namespace {

void applyRotation(Matrix& d, const Matrix& r, int order) {
    if (order == 0) {
        multiplyRight(d, r);
    } else {
        multiplyLeft(d, r);
    }
}

} // namespace

void matrixRotateX(Matrix& d, float angle, int order) {
    const float c = cosD(angle), s = sinD(angle);
    Matrix r;
    r.m[0] = 1;
    r.m[5] = c;
    r.m[6] = s;
    r.m[9] = -s;
    r.m[10] = c;
    r.m[15] = 1;
    applyRotation(d, r, order);
}

void matrixRotateY(Matrix& d, float angle, int order) {
    const float c = cosD(angle), s = sinD(angle);
    Matrix r;
    r.m[0] = c;
    r.m[2] = -s;
    r.m[5] = 1;
    r.m[8] = s;
    r.m[10] = c;
    r.m[15] = 1;
    applyRotation(d, r, order);
}

void matrixRotateZ(Matrix& d, float angle, int order) {
    const float c = cosD(angle), s = sinD(angle);
    Matrix r;
    r.m[0] = c;
    r.m[1] = s;
    r.m[4] = -s;
    r.m[5] = c;
    r.m[10] = 1;
    r.m[15] = 1;
    applyRotation(d, r, order);
}

void scaleMatrix(Matrix& d, float sx, float sy, float sz) {
    Matrix s;
    s.m[0] = sx;
    s.m[5] = sy;
    s.m[10] = sz;
    s.m[15] = 1;
    multiplyRight(d, s);
}

void extractScale(const Matrix& m, float& sx, float& sy, float& sz) {
    Point origin{0, 0, 0, 1};
    transformPoint(m, origin);
    float* out[3] = {&sx, &sy, &sz};
    for (int axis = 0; axis < 3; ++axis) {
        Point unit{0, 0, 0, 1};
        unit[axis] = 1;
        transformPoint(m, unit);
        const float dx = unit[0] - origin[0], dy = unit[1] - origin[1], dz = unit[2] - origin[2];
        *out[axis] = sqrtD(dx * dx + dy * dy + dz * dz);
    }
}

float maxScale(const Matrix& m) {
    float s[3];
    extractScale(m, s[0], s[1], s[2]);
    float best = s[0];
    for (int i = 1; i < 3; ++i) {
        if (s[i] > best) {
            best = s[i];
        }
    }
    return best;
}

float determinant3(const float a[9]) {
    return a[0] * (a[4] * a[8] - a[7] * a[5]) - a[3] * (a[1] * a[8] - a[7] * a[2]) +
           a[6] * (a[1] * a[5] - a[4] * a[2]);
}

namespace {

// The 3x3 minor of m without row `skipRow` and column `skipCol`, row by row.
float minor3(const Matrix& m, int skipRow, int skipCol) {
    float a[9];
    int n = 0;
    for (int r = 0; r < 4; ++r) {
        if (r == skipRow) {
            continue;
        }
        for (int c = 0; c < 4; ++c) {
            if (c != skipCol) {
                a[n++] = m.m[4 * c + r];
            }
        }
    }
    return determinant3(a);
}

} // namespace

float determinant4(const Matrix& m, Matrix& k) {
    float det = 0;
    for (int c = 0; c < 4; ++c) {
        const float sign = (c % 2 == 0) ? -1.0f : 1.0f;
        k.m[4 * c + 3] = sign * minor3(m, 3, c);
        det += m.m[4 * c + 3] * k.m[4 * c + 3];
    }
    return det;
}

Matrix invertMatrix(const Matrix& m) {
    Matrix k;
    const float det = determinant4(m, k);
    Matrix inv;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            const float sign = ((r + c) % 2 == 0) ? 1.0f : -1.0f;
            // Cofactor (r, c) goes to (c, r): the adjugate is the transposed cofactor matrix.
            inv.m[4 * r + c] = sign * minor3(m, r, c) / det;
        }
    }
    return inv;
}

double vectorAngle(double ax, double ay, double az, double bx, double by, double bz) {
    double d = ax * bx + ay * by + az * bz;
    if (d == 0.0) {
        return PI / 2;
    }
    d /= std::sqrt(ax * ax + ay * ay + az * az);
    d /= std::sqrt(bx * bx + by * by + bz * bz);
    return clampedAcos(d);
}

double clampedAcos(double x) {
    return std::acos(x > 1.0 ? 1.0 : x < -1.0 ? -1.0 : x);
}

double clampedAsin(double x) {
    return std::asin(x > 1.0 ? 1.0 : x < -1.0 ? -1.0 : x);
}

bool isFinite(const Matrix& m) {
    for (float v : m.m) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}
