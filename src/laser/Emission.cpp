#include "laser/Emission.h"

#include "elements/ActiveObject.h"
#include "laser/LaserBeam.h"
#include "level/Level.h"

LaserBeam* emitSourceBeam(Level& level, ActiveObject& element, signed char colorCode) {
    const Matrix m = element.getWorldMatrix();
    LaserBeam* beam = level.newLaserBeam(colorCode, FULL_INTENSITY, &element, m);
    element.outgoingLasers.push_back(beam);
    float sx, sy, sz;
    extractScale(m, sx, sy, sz);
    beam->scale(1 / sx, 1 / sy, 1 / sz);
    return beam;
}

LaserBeam* emitContinuation(Level& level, ActiveObject& element, LaserBeam& incoming,
                            signed char colorCode, signed char intensity) {
    const Point s = incoming.startPoint();
    const Point e = incoming.endPoint();
    LaserBeam* beam = level.newLaserBeam(colorCode, intensity, &element, incoming.getWorldMatrix());
    const float d[3] = {e[0] - s[0], e[1] - s[1], e[2] - s[2]};
    beam->translate(d[0], d[1], d[2]);
    beam->scale(1, 1, 1 / sqrtD(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]));
    element.outgoingLasers.push_back(beam);
    return beam;
}

LaserBeam* emitReflection(Level& level, ActiveObject& element, LaserBeam& incoming,
                          signed char intensity, bool negateYawAtZero) {
    const Point p = incoming.endPoint();
    const Point d = incoming.beamDirection();
    const Point n = element.beamDirection();
    // R = I - 2 n n^T reflects about the plane through the origin with normal n.
    Matrix reflection = Matrix::identity();
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            reflection[4 * c + r] = (r == c ? 1.0f : 0.0f) - 2 * n[r] * n[c];
        }
    }
    Point r{d[0], d[1], d[2], 0};
    transformPoint(reflection, r);

    LaserBeam* beam = level.newLaserBeam(incoming.colorCode, intensity, &element);
    beam->translate(p[0], p[1], p[2]);
    const float yaw = static_cast<float>(vectorAngle(r[0], 0, r[2], 0, 0, -1));
    const float pitch = static_cast<float>(vectorAngle(r[0], r[1], r[2], r[0], 0, r[2]));
    const bool negate = negateYawAtZero ? r[0] >= 0 : r[0] > 0;
    beam->rotateY(negate ? -yaw : yaw);
    beam->rotateX(r[1] > 0 ? pitch : -pitch);
    element.outgoingLasers.push_back(beam);
    return beam;
}
