#include "elements/MirrorHalf.h"

#include "laser/Emission.h"
#include "laser/LaserBeam.h"
#include "model/GameModels.h"

MirrorHalf::MirrorHalf() : MirrorBase(2) {
    const float color[4] = {0.7f, 0.7f, 0.7f, 0.5f};
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), color);
    }
}

Model* MirrorHalf::getModel() {
    return gameModels().mirrorHalf.get();
}

void MirrorHalf::answer(Level& level, LaserBeam& in, signed char intensity) {
    LaserBeam* transmitted = emitContinuation(level, *this, in, in.colorCode, intensity);
    LaserBeam* reflected = emitReflection(level, *this, in, intensity, true);
    in.nextSegments.push_back(transmitted);
    in.nextSegments.push_back(reflected);
}
