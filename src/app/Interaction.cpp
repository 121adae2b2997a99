#include "app/Interaction.h"

#include "core/Renderable.h"
#include "elements/Holder.h"

#include <cmath>

Renderable* selectedElement = nullptr;
bool selectionActive = false;
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
    float a = static_cast<float>(
        std::acos(up[1] / std::sqrt(static_cast<double>(up[0] * up[0] + up[1] * up[1]))));
    if (up[0] < 0) {
        a = -a;
    }
    matrixRotateZ(view, a, 1);
    return true;
}

Point horizontalDirection(const Matrix& view, const Point& screenDirection) {
    Point d{screenDirection[0], screenDirection[1], screenDirection[2], 0};
    transformPoint(view, d);
    d[1] = 0;
    const float length = sqrtD(d[0] * d[0] + d[2] * d[2]);
    if (length > 0) {
        d[0] /= length;
        d[2] /= length;
    }
    return d;
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
