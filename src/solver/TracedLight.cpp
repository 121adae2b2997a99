#include "solver/TracedLight.h"

#include "elements/Collector.h"
#include "elements/Goal.h"
#include "elements/MirrorHalf.h"
#include "laser/LaserBeam.h"
#include "laser/Tracer.h"
#include "level/Level.h"

#include <cmath>
#include <limits>

namespace solver {

namespace {

long long quantise(double value, double scale) {
    if (!std::isfinite(value)) {
        return DROPPED + 1;
    }
    return std::llround(std::clamp(value * scale, -1e15, 1e15));
}

bool rayPasses(const double origin[3], const double dir[3], const Sphere& sphere) {
    double to[3], proj = 0;
    for (int k = 0; k < 3; ++k) {
        to[k] = sphere.centre[k] - origin[k];
        proj += to[k] * dir[k];
    }
    const double u = std::max(proj, 0.0);
    double d2 = 0;
    for (int k = 0; k < 3; ++k) {
        const double e = to[k] - u * dir[k];
        d2 += e * e;
    }
    return d2 <= sphere.radius * sphere.radius;
}

int id(const Ids& ids, const ActiveObject* object) {
    if (!object) {
        return -1;
    }
    const auto it = ids.find(object);
    return it == ids.end() ? -1 : it->second;
}

// What turnable x, as it stands, does to a beam.
Response respond(const std::vector<Turnable>& turnables, int x, const Incoming& in,
                 const std::vector<Sphere>& reactive) {
    ActiveObject* e = turnables[x].element;
    float scratch = 0;
    if (!e->hitsBoundingSphere(in.ray, scratch)) {
        return Response::Miss;
    }
    float t = 0, p[3] = {0, 0, 0}, n[3] = {0, 0, 0};
    const int code = e->hitTest(in.ray, t, p, n);
    if (code == HIT_NONE || !std::isfinite(t) || t > in.otherHit + 1e-2) {
        return Response::Miss;
    }
    if (t >= in.otherHit - 1e-2) {
        return Response::Trace; // too close to the other hit to call
    }
    if (code == HIT_BLOCKING) {
        return Response::Block;
    }
    if (e->asColorFilter()) {
        return Response::Filter;
    }
    // A turnable element that is no filter is a mirror or a half mirror.
    const bool half = dynamic_cast<MirrorHalf*>(e) != nullptr;
    if (static_cast<const MirrorBase*>(e)->weakened(in.intensity) <= 0) {
        return Response::Block;
    }
    const Point normal = e->beamDirection();
    const Point& d = in.ray.direction;
    const double dot =
        double(d[0]) * normal[0] + double(d[1]) * normal[1] + double(d[2]) * normal[2];
    const double origin[3] = {p[0], p[1], p[2]};
    const double r[3] = {d[0] - 2 * dot * normal[0], d[1] - 2 * dot * normal[1],
                         d[2] - 2 * dot * normal[2]};
    for (const Sphere& sphere : reactive) {
        if (sphere.turnable != x && rayPasses(origin, r, sphere)) {
            return Response::Trace;
        }
    }
    return half ? Response::Transmit : Response::Block;
}

} // namespace

void gatherTrace(const Level& level, const Ids& ids, const std::vector<Turnable>& turnables,
                 Trace& trace) {
    std::vector<Segment>& segments = trace.segments;
    segments.clear();
    const std::vector<LaserBeam*>& beams = level.laserBeams;
    segments.reserve(beams.size());
    // The first and last piece of each segment.
    std::vector<std::pair<const LaserBeam*, const LaserBeam*>> pieces;
    for (std::size_t i = 0; i < beams.size(); ++i) {
        LaserBeam* first = beams[i];
        // The pieces a beam was cut into at filter planes follow it in the list.
        while (i + 1 < beams.size() && beams[i]->hitObject == nullptr &&
               !beams[i]->nextSegments.empty() && beams[i]->nextSegments.front() == beams[i + 1]) {
            ++i;
        }
        LaserBeam* last = beams[i];
        pieces.emplace_back(first, last);
        Segment s;
        const Point a = first->startPoint();
        const Point b = last->endPoint();
        const Point d = first->beamDirection();
        for (int k = 0; k < 3; ++k) {
            s.start[k] = a[k];
            s.dir[k] = d[k];
        }
        s.hit = id(ids, last->hitObject);
        s.owner = id(ids, first->owner);
        s.length = std::numeric_limits<double>::infinity();
        if (last->hitObject) {
            s.length = std::sqrt((b[0] - a[0]) * double(b[0] - a[0]) +
                                 (b[1] - a[1]) * double(b[1] - a[1]) +
                                 (b[2] - a[2]) * double(b[2] - a[2]));
        }
        s.colour = last->colorCode;
        s.intensity = first->intensity;
        s.fromCollector = first->owner && dynamic_cast<Collector*>(first->owner);
        for (std::size_t t = 0; t < turnables.size(); ++t) {
            if (turnables[t].activeIndex != s.owner && along(s, turnables[t]) >= 0) {
                s.near.push_back(static_cast<int>(t));
            }
        }
        segments.push_back(std::move(s));
    }
    for (std::size_t i = 0; i < segments.size(); ++i) {
        for (const LaserBeam* next : pieces[i].second->nextSegments) {
            for (std::size_t j = 0; j < pieces.size(); ++j) {
                if (pieces[j].first == next) {
                    segments[i].next.push_back(static_cast<int>(j));
                }
            }
        }
    }
    trace.solved = !level.goals.empty();
    trace.goalLit.clear();
    for (const FinshHead* goal : level.goals) {
        trace.goalLit.push_back(goal->hasItsColour());
        trace.solved = trace.solved && trace.goalLit.back();
    }
    trace.solved = trace.solved || level.goals.empty();
}

bool mayReflectOn(const std::vector<Turnable>& turnables, int x, int o,
                  const std::vector<Segment>& segments, const std::vector<Sphere>& reactive) {
    const Turnable& t = turnables[x];
    const Orientation& r = t.orientations[o];
    Matrix holder = t.places[r.place].holderLocal;
    matrixRotateY(holder, radians(r.yaw), 0);
    Matrix frame = t.frameLocal;
    matrixRotateX(frame, radians(r.tilt), 0);
    const Matrix world = multiply(multiply(holder, frame), t.element->localMatrix);
    double n[3] = {world[8], world[9], world[10]};
    const double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    const double c[3] = {world[12], world[13], world[14]};
    for (double& v : n) {
        v /= l;
    }
    for (const Segment& s : segments) {
        if (std::find(s.near.begin(), s.near.end(), x) == s.near.end()) {
            continue;
        }
        const double facing = n[0] * s.dir[0] + n[1] * s.dir[1] + n[2] * s.dir[2];
        if (std::fabs(facing) < 1e-9) {
            continue;
        }
        const double along =
            ((c[0] - s.start[0]) * n[0] + (c[1] - s.start[1]) * n[1] + (c[2] - s.start[2]) * n[2]) /
            facing;
        double p[3], d2 = 0;
        for (int k = 0; k < 3; ++k) {
            p[k] = s.start[k] + along * s.dir[k];
            d2 += (p[k] - c[k]) * (p[k] - c[k]);
        }
        if (along < 0 || d2 > t.radius * t.radius) {
            continue;
        }
        const double out[3] = {s.dir[0] - 2 * facing * n[0], s.dir[1] - 2 * facing * n[1],
                               s.dir[2] - 2 * facing * n[2]};
        for (const Sphere& sphere : reactive) {
            if (sphere.turnable != x && rayPasses(p, out, sphere)) {
                return true;
            }
        }
    }
    return false;
}

Matrix rayMatrix(const double origin[3], const double dir[3]) {
    const double z[3] = {-dir[0], -dir[1], -dir[2]};
    double x[3] = {z[1], -z[0], 0};
    double l = std::sqrt(x[0] * x[0] + x[1] * x[1]);
    if (l < 1e-9) {
        x[0] = 1;
        x[1] = 0;
        l = 1;
    }
    x[0] /= l;
    x[1] /= l;
    const double y[3] = {z[1] * x[2] - z[2] * x[1], z[2] * x[0] - z[0] * x[2],
                         z[0] * x[1] - z[1] * x[0]};
    Matrix m = Matrix::identity();
    for (int k = 0; k < 3; ++k) {
        m[k] = static_cast<float>(x[k]);
        m[4 + k] = static_cast<float>(y[k]);
        m[8 + k] = static_cast<float>(z[k]);
        m[12 + k] = static_cast<float>(origin[k]);
    }
    return m;
}

Ray rayOf(const Segment& s) {
    Ray ray;
    for (int k = 0; k < 3; ++k) {
        ray.origin[k] = static_cast<float>(s.start[k]);
        ray.direction[k] = static_cast<float>(s.dir[k]);
    }
    ray.origin[3] = 1;
    ray.direction[3] = 0;
    return ray;
}

Key segmentKey(const Segment& s, bool dropStart, bool dropEnd) {
    Key k;
    k[0] = s.owner;
    k[1] = s.hit;
    k[2] = s.colour;
    k[3] = s.intensity;
    // The line: its direction and its point nearest the origin.
    double dot = 0;
    for (int i = 0; i < 3; ++i) {
        dot += s.start[i] * s.dir[i];
    }
    for (int i = 0; i < 3; ++i) {
        k[4 + i] = quantise(s.dir[i], 1e5);
        k[7 + i] = quantise(s.start[i] - dot * s.dir[i], 16);
        k[10 + i] = dropStart ? DROPPED : quantise(s.start[i], 16);
        k[13 + i] = dropEnd || !std::isfinite(s.length)
                        ? DROPPED
                        : quantise(s.start[i] + s.length * s.dir[i], 16);
    }
    return k;
}

std::vector<Sphere> reactiveSpheres(const Level& level, const std::vector<Turnable>& turnables) {
    std::vector<Sphere> reactive;
    for (ActiveObject* object : level.activeObjects) {
        const auto t = std::find_if(turnables.begin(), turnables.end(),
                                    [&](const Turnable& e) { return e.element == object; });
        if (t != turnables.end()) {
            reactive.push_back(Sphere{{t->centre[0], t->centre[1], t->centre[2]},
                                      t->radius,
                                      static_cast<int>(t - turnables.begin())});
        } else if (!object->activeShapes.empty() || dynamic_cast<FinshHead*>(object)) {
            const Point c = object->getBoundingCenter();
            reactive.push_back(Sphere{{c[0], c[1], c[2]}, object->getBoundingRadius() + 1.0, -1});
        }
    }
    return reactive;
}

std::vector<Incoming> incomingNear(Level& level, const std::vector<Segment>& segments,
                                   const std::vector<Turnable>& turnables, int x) {
    std::vector<ActiveObject*> others;
    for (ActiveObject* object : level.activeObjects) {
        if (object != turnables[x].element) {
            others.push_back(object);
        }
    }
    std::vector<Incoming> list;
    LaserBeam probe(COLOR_WHITE, FULL_INTENSITY, nullptr);
    for (const Segment& s : segments) {
        if (std::find(s.near.begin(), s.near.end(), x) == s.near.end()) {
            continue;
        }
        Incoming in{rayOf(s), std::numeric_limits<double>::infinity(), s.intensity};
        // A beam like the segment's: the same ray, and the same owner that it never hits.
        const Matrix m = rayMatrix(s.start, s.dir);
        probe.setLocalMatrix(m);
        probe.owner = s.owner >= 0 ? level.activeObjects[s.owner] : nullptr;
        float point[3], normal[3];
        if (traceLaser(probe, point, normal, true, others, level) >= 0) {
            double d2 = 0;
            for (int k = 0; k < 3; ++k) {
                d2 += (point[k] - in.ray.origin[k]) * double(point[k] - in.ray.origin[k]);
            }
            in.otherHit = std::sqrt(d2);
        }
        list.push_back(in);
    }
    return list;
}

std::vector<Response> responses(const std::vector<Turnable>& turnables, int x,
                                const std::vector<Incoming>& incoming,
                                const std::vector<Sphere>& reactive) {
    std::vector<Response> list;
    for (const Incoming& in : incoming) {
        list.push_back(respond(turnables, x, in, reactive));
    }
    return list;
}

} // namespace solver
