#include "assets/GameModels3ds.h"

#include "assets/Shapes.h"
#include "model/GameModels.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr double PI = 3.141592653589793;
constexpr int ROUND_SEGMENTS = 24;

double radians(double degrees) {
    return degrees * PI / 180.0;
}

Mesh3ds named(Mesh3ds mesh, const char* name, std::array<std::uint8_t, 3> diffuse) {
    mesh.name = name;
    mesh.diffuse = diffuse;
    return mesh;
}

/// Quarter ellipse from (h0, r0) bulging towards +h to the axis point (h0 + depth, 0); the
/// first point is left out, the axis point is included.
void addDome(std::vector<ProfilePoint>& profile, float h0, float r0, float depth, int steps) {
    for (int k = 1; k <= steps; ++k) {
        const double a = PI / 2 * k / steps;
        profile.push_back({static_cast<float>(h0 + depth * std::sin(a)),
                           k == steps ? 0.0f : static_cast<float>(r0 * std::cos(a))});
    }
}

constexpr int GOAL_PETALS = 6;

/// One goal petal, built at azimuth 0 (towards +z) and opened by angle radians about its hinge.
Mesh3ds goalPetal(double open) {
    constexpr double ballY = 50;
    constexpr double innerRadius = 16.5, outerRadius = 18;
    const double width = radians(360.0 / GOAL_PETALS - 6); // a petal's share less a gap
    const double bottom = radians(150), top = radians(10);
    Mesh3ds petal = makeShapedBox(
        [&](float a, float b, float c) {
            const double psi = (a - 0.5) * width;
            const double theta = bottom + b * (top - bottom);
            const double rho = innerRadius + c * (outerRadius - innerRadius);
            return Vec3{static_cast<float>(rho * std::sin(theta) * std::sin(psi)),
                        static_cast<float>(ballY + rho * std::cos(theta)),
                        static_cast<float>(rho * std::sin(theta) * std::cos(psi))};
        },
        {4, 12, 1}, false);
    // The hinge runs along x through the middle of the petal's foot; turning about +x swings
    // the petal's tip out towards +z and down.
    const double hingeRadius = (innerRadius + outerRadius) / 2;
    const Vec3 hinge{0, static_cast<float>(ballY + hingeRadius * std::cos(bottom)),
                     static_cast<float>(hingeRadius * std::sin(bottom))};
    transformMesh(petal, Transform::rotationAbout(hinge, {1, 0, 0}, open));
    return petal;
}

Mesh3ds goalPedestal() {
    const std::vector<ProfilePoint> profile = {
        {-45, 0},       {-45, 18, true},  {-42, 18, true}, {-41, 16.5f}, {-37, 8},
        {-35, 6.5f},    {-33, 6, true},   {26, 6},         {30, 7.5f},   {32.5f, 9},
        {34, 10, true}, {34, 8.5f, true}, {31, 0},
    };
    return makeLathe(profile, ROUND_SEGMENTS, Axis::Y, false);
}

} // namespace

Mesh3ds buildWall() {
    return named(makeBox({-100, -100, -10}, {100, 100, 10}, {8, 8, 1}), "Wall", {190, 180, 170});
}

Mesh3ds buildMirror() {
    return named(makeBox({-87, -87, -10}, {87, 87, 10}, {8, 8, 1}), "Mirror", {200, 210, 220});
}

Mesh3ds buildHalfMirror() {
    Mesh3ds grid =
        makeBox({-87, -87, -10}, {87, 87, 10}, {HALF_MIRROR_CELLS, HALF_MIRROR_CELLS, 1});
    // Every triangle on vertices of its own, so that a cell's colour ends at its edges.
    Mesh3ds mesh;
    for (const auto& face : grid.faces) {
        const auto first = static_cast<std::uint16_t>(mesh.positions.size());
        for (const std::uint16_t v : face) {
            mesh.positions.push_back(grid.positions[v]);
            mesh.texCoords.push_back(grid.texCoords[v]);
        }
        mesh.faces.push_back(
            {first, static_cast<std::uint16_t>(first + 1), static_cast<std::uint16_t>(first + 2)});
    }
    return named(std::move(mesh), "HalfMirror", {180, 180, 180});
}

Mesh3ds buildLaserEmitter() {
    // From the lens at the muzzle (front, -z) back to the domed rear housing.
    std::vector<ProfilePoint> profile = {
        {-49, 0},           {-49, 5, true},  {-53, 6.5f, true},  {-53, 10.5f, true},
        {-51.5f, 12, true}, {-29, 12, true}, {-28, 10.5f, true}, {-28, 9, true},
        {-2, 9, true},      {-2, 10, true},  {2, 10, true},      {2, 9, true},
        {38, 9, true},      {38, 10, true},  {42, 10, true},     {42, 9, true},
        {66, 9, true},      {66, 11, true},  {67.5f, 12, true},  {88, 12},
    };
    addDome(profile, 88, 12, 7, 8);
    Mesh3ds mesh = makeLathe(profile, ROUND_SEGMENTS, Axis::Z);
    // A rail along the top of the barrel.
    append(mesh, makeBox({-2.5f, 8, -24}, {2.5f, 12, 64}, {1, 1, 6}));
    return named(std::move(mesh), "LaserEmitter", {90, 95, 110});
}

Mesh3ds buildCollector() {
    constexpr double ball = 11, tube = 4;
    std::vector<ProfilePoint> profile = {
        // Output connector around the far blocking sphere.
        {-124, 0},
        {-124, 7.5f, true},
        {-123, 8, true},
        {-101, 8, true},
        {-100, 7, true},
        {-100, tube, true},
        // Collar around the near blocking sphere.
        {-46, tube, true},
        {-46, 8, true},
        {-45, 9, true},
        {-35, 9, true},
        {-34, 8, true},
        {-34, tube, true},
    };
    // The tube meets the ball where the sphere's radius equals the tube's, then the profile
    // follows the ball to its rear pole.
    const double start = PI - std::asin(tube / ball);
    const int steps = 16;
    profile.push_back({static_cast<float>(ball * std::cos(start)), float(tube), true});
    for (int k = 1; k <= steps; ++k) {
        const double beta = start * (1.0 - double(k) / steps);
        profile.push_back({static_cast<float>(ball * std::cos(beta)),
                           k == steps ? 0.0f : static_cast<float>(ball * std::sin(beta))});
    }
    return named(makeLathe(profile, ROUND_SEGMENTS, Axis::Z), "Collector", {170, 150, 60});
}

Mesh3ds buildGoalBall() {
    return named(makeSphere(15, ROUND_SEGMENTS, 16, Axis::Y), "Ball", {230, 200, 40});
}

Mesh3ds buildGoalBody(int frame) {
    if (frame < 1 || frame > GOAL_FRAMES) {
        throw std::out_of_range("goal frame " + std::to_string(frame) + " does not exist");
    }
    const double open = radians(24) * (frame - 1);
    Mesh3ds mesh = goalPedestal();
    const Mesh3ds petal = goalPetal(open);
    for (int k = 0; k < GOAL_PETALS; ++k) {
        append(mesh, transformed(petal, Transform::rotation(Axis::Y, 2 * PI * k / GOAL_PETALS)));
    }
    const std::string name = "Goal" + std::to_string(frame);
    return named(std::move(mesh), name.c_str(), {120, 170, 90});
}

Mesh3ds buildHolder() {
    // Round foot on the floor.
    Mesh3ds mesh = makeLathe({{-140, 0},
                              {-140, 30, true},
                              {-137, 30, true},
                              {-135, 27},
                              {-132, 14},
                              {-130, 8, true},
                              {-130, 0}},
                             ROUND_SEGMENTS, Axis::Y);
    // Post up into the yoke.
    append(mesh, makeCylinder(-131, -105, 5, 16, Axis::Y));
    // Yoke: a bar under the frame, clear of it at any tilt, and two uprights to the pivots.
    append(mesh, makeBox({-110, -110, -6}, {110, -101, 6}, {8, 1, 1}));
    for (float side : {-1.0f, 1.0f}) {
        const float inner = 104 * side, outer = 110 * side;
        append(mesh, makeBox({std::min(inner, outer), -101, -6}, {std::max(inner, outer), 0, 6},
                             {1, 4, 1}));
        append(mesh, makeCylinder(std::min(inner, outer), std::max(inner, outer), 6, 16, Axis::X));
    }
    return named(std::move(mesh), "Holder", {110, 110, 120});
}

Mesh3ds buildHolderFrame() {
    constexpr float inner = 88, outer = 97, depth = 12;
    Mesh3ds mesh = makeBox({-outer, inner, -depth}, {outer, outer, depth}, {8, 1, 1});
    append(mesh, makeBox({-outer, -outer, -depth}, {outer, -inner, depth}, {8, 1, 1}));
    append(mesh, makeBox({-outer, -inner, -depth}, {-inner, inner, depth}, {1, 8, 1}));
    append(mesh, makeBox({inner, -inner, -depth}, {outer, inner, depth}, {1, 8, 1}));
    // Pivot pins from inside the side bars out into the holder's bearings.
    append(mesh, makeCylinder(96, 105, 2.5f, 12, Axis::X));
    append(mesh, makeCylinder(-105, -96, 2.5f, 12, Axis::X));
    return named(std::move(mesh), "HolderFrame", {150, 140, 120});
}

Mesh3ds buildLaserBeam() {
    const std::vector<ProfilePoint> profile = {{-1, 0}, {-1, 1.2f, true}, {0, 1.2f, true}, {0, 0}};
    return named(makeLathe(profile, 8, Axis::Z), "LaserBeam", {255, 40, 40});
}

Mesh3ds buildLamp() {
    // A spotlight that shines along -z: the shade, a cone shell 1 thick and 30 across, opens
    // towards -z, and the whole lamp sits behind its origin (z >= 1), where the light is and
    // from where the shadow map looks, so that the lamp never shadows its own light.
    // Built upright (opening at -y), then turned and moved back.
    Mesh3ds mesh =
        makeLathe({{-5, 15, true}, {10, 4, true}, {10, 3, true}, {-5, 14, true}, {-5, 15, true}},
                  ROUND_SEGMENTS, Axis::Y, false);
    append(mesh, makeCylinder(0, 12, 3.5f, 16, Axis::Y, false));
    append(mesh, transformed(makeSphere(6, ROUND_SEGMENTS, 12, Axis::Y, false),
                             Transform::translation(0, -3, 0)));
    mesh = transformed(mesh, Transform::translation(0, 0, 10) *
                                 Transform::rotation(Axis::X, radians(90)));
    return named(std::move(mesh), "Lamp", {240, 230, 180});
}

Mesh3ds buildEye() {
    constexpr double radius = 50;
    const double irisAngle = radians(40);
    std::vector<ProfilePoint> profile;
    // The eyeball from its rear pole to the iris rim, every 5 degrees.
    const int ballSteps = 28;
    for (int k = 0; k <= ballSteps; ++k) {
        const double beta = PI + (irisAngle - PI) * k / ballSteps;
        profile.push_back({static_cast<float>(radius * std::cos(beta)),
                           k == 0 ? 0.0f : static_cast<float>(radius * std::sin(beta)),
                           k == ballSteps});
    }
    // The cornea: a smaller sphere through the iris rim and the point 56 out on the axis.
    const double rimH = radius * std::cos(irisAngle), rimR = radius * std::sin(irisAngle);
    constexpr double apex = 56;
    const double centre = (apex * apex - rimH * rimH - rimR * rimR) / (2 * (apex - rimH));
    const double cornea = apex - centre;
    constexpr double pupil = 12;
    const int corneaSteps = 6;
    for (int k = 1; k <= corneaSteps; ++k) {
        const double r = rimR + (pupil - rimR) * k / corneaSteps;
        profile.push_back({static_cast<float>(centre + std::sqrt(cornea * cornea - r * r)),
                           static_cast<float>(r), k == corneaSteps});
    }
    // A pupil set slightly into the cornea.
    const float pupilH = profile.back().h - 0.8f;
    profile.push_back({pupilH, 10.5f, true});
    profile.push_back({pupilH, 0});
    return named(makeLathe(profile, 32, Axis::Z, false), "Eye", {235, 235, 230});
}

const std::vector<GeneratedModel>& generatedModelFiles() {
    static const std::vector<GeneratedModel> files = [] {
        std::vector<GeneratedModel> f = {
            {"Wall.3ds", buildWall, true},
            {"Mirror.3ds", buildMirror, true},
            {"HalfMirror.3ds", buildHalfMirror, true},
            {"LaserEmitter.3ds", buildLaserEmitter, true},
            {"Collector.3ds", buildCollector, true},
            {"ball.3ds", buildGoalBall, true},
        };
        for (int frame = 1; frame <= GOAL_FRAMES; ++frame) {
            f.push_back({"Ziel" + std::to_string(frame) + ".3ds",
                         [frame] { return buildGoalBody(frame); }, false});
        }
        f.push_back({"Holder.3ds", buildHolder, true});
        f.push_back({"HolderFrame.3ds", buildHolderFrame, true});
        f.push_back({"LaserBeam.3ds", buildLaserBeam, true});
        f.push_back({"Lampe.3ds", buildLamp, false});
        f.push_back({"Auge.3ds", buildEye, false});
        return f;
    }();
    return files;
}
