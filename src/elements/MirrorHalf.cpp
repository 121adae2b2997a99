#include "elements/MirrorHalf.h"

#include "laser/Emission.h"
#include "laser/LaserBeam.h"
#include "model/GameModels.h"

MirrorHalf::MirrorHalf() {
    const float color[4] = {0.7f, 0.7f, 0.7f, 0.5f};
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), color);
    }
}

Model* MirrorHalf::getModel() {
    return gameModels().mirrorHalf.get();
}

bool MirrorHalf::emitOutgoingLasers(Level& level) {
    bool created = false;
    for (std::size_t i = outgoingLasers.size() / 2 + absorbedCount; i < incomingLasers.size();
         ++i) {
        LaserBeam& in = *incomingLasers[i];
        const auto intensity = static_cast<signed char>(static_cast<int>(in.intensity / 1.2));
        if (intensity <= 0) {
            ++absorbedCount;
            continue;
        }
        LaserBeam* transmitted = emitContinuation(level, *this, in, in.colorCode, intensity);
        LaserBeam* reflected = emitReflection(level, *this, in, intensity, true);
        in.nextSegments.push_back(transmitted);
        in.nextSegments.push_back(reflected);
        created = true;
    }
    return created;
}
