#include "elements/MirrorHalf.h"

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
