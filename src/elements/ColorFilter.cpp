#include "elements/ColorFilter.h"

#include "laser/Emission.h"
#include "laser/HitShapes.h"
#include "laser/LaserBeam.h"
#include "model/GameModels.h"

ColorFilter::ColorFilter() {
    colorFilter_ = this;
    isFilter = true;
    object = this;
    setColor(0);
    constexpr float H = 87;
    activeShapes.push_back(std::make_unique<HitArea>(this, Point{-H, -H, 0, 1}, Point{H, -H, 0, 1},
                                                     Point{-H, H, 0, 1}));
    activeShapes.push_back(std::make_unique<HitArea>(this, Point{-H, -H, 0, 1}, Point{-H, H, 0, 1},
                                                     Point{H, -H, 0, 1}));
}

Model* ColorFilter::getModel() {
    return gameModels().colorFilter.get();
}

void ColorFilter::setColor(signed char code) {
    colorCode = code;
    float rgba[4];
    colorCodeToRgb(code, rgba);
    rgba[3] = 0.5f;
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), rgba);
    }
}

bool ColorFilter::emitOutgoingLasers(Level& level) {
    bool created = false;
    // Index loop: emitting appends to outgoingLasers, never to incomingLasers.
    for (std::size_t i = 0; i < incomingLasers.size(); ++i) {
        LaserBeam& in = *incomingLasers[i];
        if (!in.nextSegments.empty()) {
            continue;
        }
        const auto passed = static_cast<signed char>(in.colorCode & colorCode);
        if (passed == 0) {
            continue; // stopped, until the light gains a colour the filter passes
        }
        LaserBeam* out = emitContinuation(level, *this, in, passed, in.intensity);
        out->filterMask = in.filterMask ^ filterMask;
        in.nextSegments.push_back(out);
        created = true;
    }
    return created;
}
