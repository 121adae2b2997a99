#pragma once
// Builds laser beams aimed from a point along a direction, for hit and tracing tests.

#include "laser/LaserBeam.h"

#include <cmath>
#include <memory>

/// A matrix whose local origin is `start` and whose local -Z axis is the unit `direction`.
inline Matrix aimedMatrix(const Point& start, const Point& direction) {
    const float len = std::sqrt(direction[0] * direction[0] + direction[1] * direction[1] +
                                direction[2] * direction[2]);
    const float z[3] = {-direction[0] / len, -direction[1] / len, -direction[2] / len};
    // Any axis not parallel to z.
    const float helper[3] = {std::fabs(z[1]) < 0.9f ? 0.0f : 1.0f,
                             std::fabs(z[1]) < 0.9f ? 1.0f : 0.0f, 0.0f};
    float x[3] = {helper[1] * z[2] - helper[2] * z[1], helper[2] * z[0] - helper[0] * z[2],
                  helper[0] * z[1] - helper[1] * z[0]};
    const float xl = std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
    for (float& c : x) {
        c /= xl;
    }
    const float y[3] = {z[1] * x[2] - z[2] * x[1], z[2] * x[0] - z[0] * x[2],
                        z[0] * x[1] - z[1] * x[0]};
    Matrix m = Matrix::identity();
    for (int i = 0; i < 3; ++i) {
        m[i] = x[i];
        m[4 + i] = y[i];
        m[8 + i] = z[i];
        m[12 + i] = start[i];
    }
    return m;
}

inline std::unique_ptr<LaserBeam> aimedBeam(const Point& start, const Point& direction,
                                            signed char color = COLOR_WHITE,
                                            ActiveObject* owner = nullptr) {
    return std::make_unique<LaserBeam>(color, FULL_INTENSITY, owner, aimedMatrix(start, direction));
}
