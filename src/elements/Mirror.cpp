#include "elements/Mirror.h"

#include "laser/Emission.h"
#include "laser/LaserBeam.h"
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

bool Mirror::emitOutgoingLasers(Level& level) {
    bool created = false;
    for (std::size_t i = outgoingLasers.size() + absorbedCount; i < incomingLasers.size(); ++i) {
        LaserBeam& in = *incomingLasers[i];
        const auto intensity = static_cast<signed char>(in.intensity - 2);
        if (intensity <= 0) {
            ++absorbedCount;
            continue;
        }
        in.nextSegments.push_back(emitReflection(level, *this, in, intensity, false));
        created = true;
    }
    return created;
}
