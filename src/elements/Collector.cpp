#include "elements/Collector.h"

#include "elements/ColorFilter.h"
#include "laser/Emission.h"
#include "laser/HitShapes.h"
#include "laser/LaserBeam.h"
#include "laser/Tracer.h"
#include "model/GameModels.h"

#include <algorithm>

Collector::Collector() {
    const float white[4] = {1, 1, 1, 1};
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), white);
    }
    activeShapes.push_back(std::make_unique<HitSphere>(this, Point{0, 0, 0, 1}, 11.0f));
    blockingShapes.push_back(std::make_unique<HitSphere>(this, Point{0, 0, -40, 1}, 13.0f));
    blockingShapes.push_back(std::make_unique<HitSphere>(this, Point{0, 0, -110, 1}, 12.0f));
}

Model* Collector::getModel() {
    return gameModels().collector.get();
}

bool Collector::emitOutgoingLasers(Level& level) {
    signed char mix = 0;
    for (const LaserBeam* in : incomingLasers) {
        mix = static_cast<signed char>(mix | in->colorCode);
    }
    if (outgoingLasers.empty()) {
        if (mix == 0) {
            return false; // no light has reached it: nothing to send on
        }
        LaserBeam* out = emitSourceBeam(level, *this, mix);
        if (!incomingLasers.empty()) {
            incomingLasers.front()->nextSegments.push_back(out);
        }
        return true;
    }
    LaserBeam* out = outgoingLasers.back();
    for (LaserBeam* in : incomingLasers) {
        // Linked once per incoming segment: recolouring follows each link once.
        if (std::find(in->nextSegments.begin(), in->nextSegments.end(), out) ==
            in->nextSegments.end()) {
            in->nextSegments.push_back(out);
        }
    }
    if (mix > out->colorCode) {
        recolor(level, *out, mix);
    }
    return false;
}

void recolor(Level& level, LaserBeam& segment, signed char colorCode) {
    segment.setColor(colorCode);
    signed char passed = colorCode;
    if (auto* filter = dynamic_cast<ColorFilter*>(segment.hitObject)) {
        if (segment.nextSegments.empty()) {
            // The filter had stopped the old colour: it may pass the new one.
            if (filter->emitOutgoingLasers(level)) {
                propagateLasers(level, *filter);
            }
            return;
        }
        passed = static_cast<signed char>(passed & filter->colorCode);
    }
    if (auto* collector = dynamic_cast<Collector*>(segment.hitObject)) {
        if (collector->outgoingLasers.empty()) {
            return;
        }
        const signed char output = collector->outgoingLasers.front()->colorCode;
        if ((passed & ~output) == 0) {
            return;
        }
        passed = static_cast<signed char>(passed | output);
    }
    // A copy: passing light on may link further segments to this one.
    const std::vector<LaserBeam*> next = segment.nextSegments;
    for (LaserBeam* s : next) {
        recolor(level, *s, passed);
    }
}
