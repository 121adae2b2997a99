#include "elements/Mirror.h"

#include "model/GameModels.h"

MirrorBase::MirrorBase() {
    addMirrorShapes(this);
}

void MirrorBase::resetLasers() {
    ActiveObject::resetLasers();
    absorbedCount = 0;
}

Mirror::Mirror() {
    const float color[4] = {0.7f, 0.9f, 1.0f, 1.0f};
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), color);
    }
}

Model* Mirror::getModel() {
    return gameModels().mirror.get();
}
