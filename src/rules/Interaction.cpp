#include "rules/Interaction.h"

#include "core/Renderable.h"
#include "elements/ColorFilter.h"
#include "elements/Holder.h"
#include "elements/Light.h"
#include "elements/Mirror.h"
#include "elements/Wall.h"
#include "rules/CommandTable.h"
#include "rules/Settings.h"
#include "rules/UndoHistory.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr float NO_WALL_CLEARANCE = 1e30f;
}

Renderable* selectedElement = nullptr;
bool selectionActive = false;
HintSpot hintSpot;
int lastWheel = 0;
double lastClickTime = 0;

bool moveView(Matrix& view, float tx, float ty, float tz, float yaw, float pitch) {
    const Matrix old = view;
    multiplyLeft(view, Matrix::translation(tx, ty, tz));
    matrixRotateY(view, yaw, 1);
    matrixRotateX(view, pitch, 1);
    Point up{0, 1, 0, 0};
    transformPoint(view, up);
    if (!(up[1] > 0.005f)) {
        view = old;
        return false;
    }
    // The squares are summed in double: rounded in float, their root can fall below up.y.
    const double ux = up[0], uy = up[1];
    float a = static_cast<float>(clampedAcos(uy / std::sqrt(ux * ux + uy * uy)));
    if (up[0] < 0) {
        a = -a;
    }
    matrixRotateZ(view, a, 1);
    if (!isFinite(view)) {
        view = old;
        return false;
    }
    return true;
}

void cameraMove(const CameraKeys& keys, int wheelNotches, float k, float& tx, float& ty,
                float& tz) {
    tx = keys.left ? 2 * k : keys.right ? -2 * k : 0.0f;
    ty = keys.down ? 2 * k : keys.up ? -2 * k : 0.0f;
    tz = keys.forward ? 2 * k : keys.back ? -2 * k : static_cast<float>(wheelNotches) * WHEEL_STEP;
}

Point eyePosition(const Matrix& view) {
    // view = [R t]: the eye sits at -R^T t.
    Point e{0, 0, 0, 1};
    for (int i = 0; i < 3; ++i) {
        e[i] = -(view[4 * i] * view[12] + view[4 * i + 1] * view[13] + view[4 * i + 2] * view[14]);
    }
    return e;
}

float wallClearance(const Point& p, const std::vector<ActiveObject*>& walls) {
    float nearest = NO_WALL_CLEARANCE;
    for (ActiveObject* object : walls) {
        if (Wall* wall = dynamic_cast<Wall*>(object)) {
            nearest = std::min(nearest, wall->distanceTo(p));
        }
    }
    return nearest;
}

void limitCameraMove(const Matrix& view, float& tx, float& ty, float& tz,
                     const std::vector<ActiveObject*>& walls) {
    if (tx == 0 && ty == 0 && tz == 0) {
        return;
    }
    // Moving the world by m in eye space moves the eye by -R^T m in world space.
    const Point eye = eyePosition(view);
    float d[3];
    for (int i = 0; i < 3; ++i) {
        d[i] = -(view[4 * i] * tx + view[4 * i + 1] * ty + view[4 * i + 2] * tz);
    }
    const auto at = [&](float f) {
        return Point{eye[0] + f * d[0], eye[1] + f * d[1], eye[2] + f * d[2], 1};
    };
    // Never closer than the kept distance, or than the eye already is. A step that only grazes
    // it (rounding, sliding along a wall) passes; one that comes closer is cut back to exactly
    // the kept distance, so that the grazing cannot add up.
    const float floor = std::min(CAMERA_WALL_DISTANCE, wallClearance(eye, walls));
    const auto clearance = [&](float f) { return wallClearance(at(f), walls); };
    // Steps of at most 5 units: a wall cannot be passed between two of them without one coming
    // within the kept distance.
    const float length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    const int steps = std::max(1, static_cast<int>(std::ceil(length / 5.0f)));
    float allowed = 1.0f;
    for (int i = 1; i <= steps; ++i) {
        const float f = static_cast<float>(i) / steps;
        if (clearance(f) < floor - 1e-4f) {
            float lo = static_cast<float>(i - 1) / steps, hi = f;
            for (int k = 0; k < 24; ++k) {
                const float mid = (lo + hi) / 2;
                (clearance(mid) >= floor ? lo : hi) = mid;
            }
            allowed = lo;
            break;
        }
    }
    tx *= allowed;
    ty *= allowed;
    tz *= allowed;
}

void viewerGroundAxes(const Matrix& view, Point& forward, Point& right) {
    // The eye's x axis in world space is the first row of the view's rotation; without roll it
    // is horizontal. Forward is up x right.
    float rx = view[0], rz = view[8];
    const float length = std::sqrt(rx * rx + rz * rz);
    if (length > 0) {
        rx /= length;
        rz /= length;
    } else {
        rx = 1;
        rz = 0;
    }
    right = {rx, 0, rz, 0};
    forward = {rz, 0, -rx, 0};
}

Point arrowShift(const Matrix& view, bool down, bool up, bool left, bool right, float distance) {
    Point forward, side;
    viewerGroundAxes(view, forward, side);
    const float f = down ? -distance : up ? distance : 0;
    const float r = left ? -distance : right ? distance : 0;
    return {f * forward[0] + r * side[0], 0, f * forward[2] + r * side[2], 0};
}

bool keyTurn(Command command, bool fine, float& yaw, float& tilt) {
    const float step = static_cast<float>((fine ? 1.0 : 5.0) * PI / 180.0);
    yaw = tilt = 0;
    switch (command) {
    case Command::TurnRight:
        yaw = step;
        return true;
    case Command::TurnLeft:
        yaw = -step;
        return true;
    case Command::TiltUp:
        tilt = step;
        return true;
    case Command::TiltDown:
        tilt = -step;
        return true;
    default:
        return false;
    }
}

namespace {

using Vec = std::array<double, 3>;

constexpr double DEGREES = 180.0 / PI;
/// A lamp tilts at most this far (degrees) up or down: straight up or down it has no heading.
constexpr double LAMP_TILT_LIMIT = 89.0;

double dot(const Vec& a, const Vec& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec unit(const Vec& v) {
    const double length = std::sqrt(dot(v, v));
    return length > 0 ? Vec{v[0] / length, v[1] / length, v[2] / length} : v;
}

// A matrix's axis (0: x, 1: y, 2: z), of unit length.
Vec axis(const Matrix& m, int column) {
    return unit({m[4 * column], m[4 * column + 1], m[4 * column + 2]});
}

// An angle in degrees brought into (-180, 180].
double wrapDegrees(double degrees) {
    degrees = std::remainder(degrees, 360.0);
    return degrees <= -180.0 ? degrees + 360.0 : degrees;
}

// The holder that turns an element in its frame, or null for an element on its own.
Renderable* holderOf(Renderable& element) {
    Renderable* frame = element.hasParent ? element.parent : nullptr;
    if (dynamic_cast<HolderFrame*>(frame) && frame->hasParent &&
        dynamic_cast<Holder*>(frame->parent)) {
        return frame->parent;
    }
    return nullptr;
}

// Where heading 0 points on a surface with the unit normal `up`: world -z along the surface, or,
// where -z runs nearly into it (a wall facing along z), world up along it.
Vec surfaceAhead(const Vec& up) {
    const Vec ahead{up[2] * up[0], up[2] * up[1], up[2] * up[2] - 1};
    if (dot(ahead, ahead) >= 0.25) {
        return unit(ahead);
    }
    return unit({-up[1] * up[0], 1 - up[1] * up[1], -up[1] * up[2]});
}

// Turns a lamp (no parent) to face along heading and tilt with no roll: its rotation becomes
// RotY(heading) RotX(tilt), reached by its own turns about z, y and x.
void turnLampTo(Renderable& lamp, double heading, double tilt) {
    Matrix target = Matrix::identity();
    matrixRotateY(target, static_cast<float>(heading / DEGREES), 0);
    matrixRotateX(target, static_cast<float>(tilt / DEGREES), 0);
    // q = R^T target, the turn from the lamp's rotation R to the target, as Rz(a) Ry(b) Rx(c).
    double q[3][3];
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            q[i][j] = dot(axis(lamp.localMatrix, i), axis(target, j));
        }
    }
    const double b = clampedAsin(-q[2][0]);
    double a = 0, c = 0;
    if (std::cos(b) > 1e-6) {
        a = std::atan2(q[1][0], q[0][0]);
        c = std::atan2(q[2][1], q[2][2]);
    } else {
        c = std::atan2(-q[1][2], q[1][1]); // straight up or down: a and c turn alike
    }
    lamp.rotateZ(static_cast<float>(a));
    lamp.rotateY(static_cast<float>(b));
    lamp.rotateX(static_cast<float>(c));
}

} // namespace

Orientation orientationOf(Renderable& element) {
    const Point d = element.beamDirection();
    const Vec face{d[0], d[1], d[2]};
    Renderable* holder = holderOf(element);
    if (!holder) {
        return {wrapDegrees(std::atan2(-face[0], -face[2]) * DEGREES),
                clampedAsin(face[1]) * DEGREES};
    }
    const Matrix& world = holder->refreshedWorldMatrix();
    const Vec up = axis(world, 1), z = axis(world, 2);
    const Vec ahead = surfaceAhead(up);
    const Vec facing{-z[0], -z[1], -z[2]};
    return {wrapDegrees(std::atan2(dot(facing, cross(up, ahead)), dot(facing, ahead)) * DEGREES),
            wrapDegrees(std::atan2(dot(face, up), -dot(face, z)) * DEGREES)};
}

void turnTo(Renderable& element, const Orientation& target) {
    if (!holderOf(element)) {
        const double tilt = std::clamp(target.tilt, -LAMP_TILT_LIMIT, LAMP_TILT_LIMIT);
        turnLampTo(element, target.heading, tilt);
        return;
    }
    const Orientation now = orientationOf(element);
    element.rotateY(static_cast<float>(wrapDegrees(target.heading - now.heading) / DEGREES));
    element.rotateX(static_cast<float>(wrapDegrees(target.tilt - now.tilt) / DEGREES));
}

void turnBy(Renderable& element, float yaw, float tilt) {
    const Orientation now = orientationOf(element);
    turnTo(element, {now.heading + yaw * DEGREES, now.tilt + tilt * DEGREES});
}

std::string keyTurnSelected(Renderable* selected, float yaw, float tilt, bool carrying,
                            UndoHistory& history) {
    if (!selected) {
        return "";
    }
    history.begin(selected, carrying ? UndoHistory::Kind::Carry : UndoHistory::Kind::KeyTurn);
    manipulateFinitely(selected, [&] { turnBy(*selected, yaw, tilt); });
    return headingText(*selected);
}

std::string DragTurn::step(float dx, float dy, bool snap) {
    turned_.heading += dx * 90.0;
    turned_.tilt += dy * 90.0;
    const auto snapped = [&](double degrees) {
        return snap ? SNAP_DEGREES * std::round(degrees / SNAP_DEGREES) : degrees;
    };
    turnTo(*element_, {snapped(turned_.heading), snapped(turned_.tilt)});
    return headingText(*element_);
}

void headingAndTilt(Renderable& element, int& heading, int& tilt) {
    const Orientation o = orientationOf(element);
    const auto whole = [](double degrees) {
        const long rounded = std::lround(degrees);
        return static_cast<int>(rounded == -180 ? 180 : rounded);
    };
    heading = whole(o.heading);
    tilt = whole(o.tilt);
}

std::string headingText(int heading, int tilt) {
    return "HEADING " + std::to_string(heading) + " TILT " + std::to_string(tilt);
}

std::string headingText(Renderable& element) {
    int heading = 0, tilt = 0;
    headingAndTilt(element, heading, tilt);
    return headingText(heading, tilt);
}

bool GroupPose::isFinite() const {
    for (const auto& entry : locals) {
        if (!::isFinite(entry.second)) {
            return false;
        }
    }
    for (const auto& entry : lightViews) {
        if (!::isFinite(entry.second)) {
            return false;
        }
    }
    return true;
}

GroupPose captureGroupPose(Renderable* element) {
    GroupPose pose;
    std::vector<Renderable*> pending{groupRoot(element)};
    while (!pending.empty()) {
        Renderable* object = pending.back();
        pending.pop_back();
        pose.locals.emplace_back(object, object->localMatrix);
        if (Light* light = dynamic_cast<Light*>(object)) {
            pose.lightViews.emplace_back(light, light->lightViewMatrix);
        }
        pending.insert(pending.end(), object->children.begin(), object->children.end());
    }
    return pose;
}

void restoreGroupPose(const GroupPose& pose) {
    for (const auto& [object, local] : pose.locals) {
        if (object->localMatrix != local) {
            object->setLocalMatrix(local);
        }
    }
    for (const auto& [light, lightView] : pose.lightViews) {
        light->lightViewMatrix = lightView;
    }
}

LeftPress classifyLeftPress(double now, double lastClick, bool placementBlocked) {
    if (now - lastClick > DOUBLE_CLICK_TIME) {
        return {true, !placementBlocked, false};
    }
    return {false, false, true};
}

unsigned int chooseHit(int hitCount, const std::vector<std::uint32_t>& buffer) {
    double nearest = 100.0;
    unsigned int chosen = 0;
    std::size_t at = 0;
    for (int i = 0; i < hitCount && at + 3 <= buffer.size(); ++i) {
        const std::uint32_t names = buffer[at];
        const double depth = buffer[at + 1] * std::ldexp(1.0, -31);
        if (names > 0 && at + 3 + names <= buffer.size() && depth < nearest) {
            nearest = depth;
            chosen = buffer[at + 3 + names - 1];
        }
        at += 3 + names;
    }
    return chosen;
}

Renderable* selectionFor(Renderable* object) {
    if (dynamic_cast<Holder*>(object) && !object->children.empty() &&
        !object->children.front()->children.empty()) {
        return object->children.front()->children.front();
    }
    if (dynamic_cast<HolderFrame*>(object) && !object->children.empty()) {
        return object->children.front();
    }
    return object;
}

void selectElement(Renderable* element) {
    if (selectedElement) {
        selectedElement->selected = false;
    }
    selectedElement = element;
    selectedElement->selected = true;
    selectionActive = true;
    doubleClicked = false;
}

Renderable* steppedSelection(const std::vector<ActiveObject*>& activeObjects,
                             const Renderable* current, int step) {
    std::vector<Renderable*> order;
    for (ActiveObject* object : activeObjects) {
        if (dynamic_cast<MirrorBase*>(object) || dynamic_cast<ColorFilter*>(object)) {
            order.push_back(object);
        }
    }
    if (order.empty()) {
        return nullptr;
    }
    const auto at = std::find(order.begin(), order.end(), current);
    const long n = static_cast<long>(order.size());
    if (at == order.end()) {
        return step > 0 ? order.front() : order.back();
    }
    return order[static_cast<std::size_t>(((at - order.begin() + step) % n + n) % n)];
}

Renderable* groupRoot(Renderable* object) {
    while (object->hasParent) {
        object = object->parent;
    }
    return object;
}

void placeOnWall(Renderable& root, const Matrix& oldWorld, const Point& h, const Point& n) {
    root.resetTransform();
    Point c{0, 0, 0, 1};
    transformPoint(root.getWorldMatrix(), c);
    root.translate(h[0] - c[0], h[1] - c[1], h[2] - c[2]);
    root.translate(20 * n[0], 20 * n[1], 20 * n[2]);
    const float a1 = static_cast<float>(vectorAngle(n[0], n[1], 0, 0, 1, 0));
    root.rotateZ(n[0] > 0 ? -a1 : a1);
    const float a2 = static_cast<float>(vectorAngle(n[0], n[1], n[2], n[0], n[1], 0));
    root.rotateX(n[2] > 0 ? a2 : -a2);
    // Keep the heading: turn about the new y axis until the x axis is as before.
    Point xOld{1, 0, 0, 0}, xNew{1, 0, 0, 0};
    transformPoint(oldWorld, xOld);
    transformPoint(root.getWorldMatrix(), xNew);
    const float a3 =
        static_cast<float>(vectorAngle(xOld[0], xOld[1], xOld[2], xNew[0], xNew[1], xNew[2]));
    const float cross[3] = {xOld[1] * xNew[2] - xOld[2] * xNew[1],
                            xOld[2] * xNew[0] - xOld[0] * xNew[2],
                            xOld[0] * xNew[1] - xOld[1] * xNew[0]};
    const float side = cross[0] * n[0] + cross[1] * n[1] + cross[2] * n[2];
    root.rotateY(side > 0 ? -a3 : a3);
}
