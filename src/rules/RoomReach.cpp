#include "rules/RoomReach.h"

#include "elements/Wall.h"
#include "level/Level.h"
#include "rules/Interaction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

/// Corners closer than this along an axis lie in one face: the rounding of turns by 90 degrees.
constexpr float FACE_TOLERANCE = 0.01f;

} // namespace

bool roomBox(const Level& level, double low[3], double high[3]) {
    constexpr double INF = std::numeric_limits<double>::infinity();
    for (int a = 0; a < 3; ++a) {
        low[a] = INF;
        high[a] = -INF;
    }
    for (ActiveObject* object : level.walls) {
        const std::array<Point, 8> corners = Wall::corners(*object);
        for (int a = 0; a < 3; ++a) {
            const auto [lo, hi] =
                std::minmax_element(corners.begin(), corners.end(),
                                    [a](const Point& p, const Point& q) { return p[a] < q[a]; });
            const float min = (*lo)[a], max = (*hi)[a];
            // Axis-aligned along a: every corner lies in the face at its least or its largest a.
            const bool aligned = std::all_of(corners.begin(), corners.end(), [&](const Point& p) {
                return p[a] - min < FACE_TOLERANCE || max - p[a] < FACE_TOLERANCE;
            });
            high[a] = std::max(high[a], static_cast<double>(aligned ? min : max));
            low[a] = std::min(low[a], static_cast<double>(aligned ? max : min));
        }
    }
    return low[0] < high[0] && low[1] < high[1] && low[2] < high[2];
}

double farthestRoomDistance(const Level& level) {
    constexpr double INF = std::numeric_limits<double>::infinity();
    double low[3], high[3];
    roomBox(level, low, high);
    double sum = 0;
    for (int a = 0; a < 3; ++a) {
        const double eye = -level.cameraOffset[a];
        if (!(low[a] < eye && eye < high[a])) {
            return INF;
        }
        const double eyeLow = std::min(low[a] + CAMERA_WALL_DISTANCE, eye);
        const double eyeHigh = std::max(high[a] - CAMERA_WALL_DISTANCE, eye);
        const double reach = std::max(high[a] - eyeLow, eyeHigh - low[a]);
        sum += reach * reach;
    }
    return std::sqrt(sum);
}
