#include "elements/ActiveObject.h"

#include "laser/HitShapes.h"
#include "laser/Ray.h"

#include <iostream>

ActiveObject::ActiveObject() = default;
ActiveObject::~ActiveObject() = default;

void ActiveObject::resetLasers() {
    incomingLasers.clear();
    outgoingLasers.clear();
    tracedCount = 0;
}

bool ActiveObject::emitOutgoingLasers(Level&) {
    std::cout << "-------DEFAULT outgoing laser------" << std::endl;
    return false;
}

bool ActiveObject::hitsBoundingSphere(const Ray& ray, float& distance) {
    const Point centre = getBoundingCenter();
    return sphereDistance(ray.origin, ray.direction, centre, getBoundingRadius(), distance);
}

int ActiveObject::hitTest(const Ray& ray, float& distance, float point[3], float normal[3]) {
    float nearest = NO_HIT_DISTANCE;
    float p[3] = {0, 0, 0}, n[3] = {0, 0, 0};
    int code = HIT_NONE;
    for (const auto& shape : blockingShapes) {
        if (shape->hit(ray, nearest, p, n, false)) {
            code = HIT_BLOCKING;
        }
    }
    for (const auto& shape : activeShapes) {
        if (shape->hit(ray, nearest, p, n, false)) {
            code = HIT_ACTIVE;
        }
    }
    if (nearest != NO_HIT_DISTANCE) {
        distance = nearest;
        for (int i = 0; i < 3; ++i) {
            point[i] = p[i];
            normal[i] = n[i];
        }
    }
    return code;
}
