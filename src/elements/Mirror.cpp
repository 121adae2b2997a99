#include "elements/Mirror.h"

#include "laser/Emission.h"
#include "laser/LaserBeam.h"
#include "model/GameModels.h"

MirrorBase::MirrorBase(std::size_t segmentsPerAnswer) : segmentsPerAnswer_(segmentsPerAnswer) {
    addMirrorShapes(this);
}

void MirrorBase::resetLasers() {
    ActiveObject::resetLasers();
    absorbedCount = 0;
}

bool MirrorBase::emitOutgoingLasers(Level& level) {
    bool created = false;
    for (std::size_t i = outgoingLasers.size() / segmentsPerAnswer_ + absorbedCount;
         i < incomingLasers.size(); ++i) {
        LaserBeam& in = *incomingLasers[i];
        const auto intensity = static_cast<signed char>(weakened(in.intensity));
        if (intensity <= 0) {
            ++absorbedCount;
            continue;
        }
        answer(level, in, intensity);
        created = true;
    }
    return created;
}

Mirror::Mirror() : MirrorBase(1) {
    const float color[4] = {0.7f, 0.9f, 1.0f, 1.0f};
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), color);
    }
}

Model* Mirror::getModel() {
    return gameModels().mirror.get();
}

void Mirror::answer(Level& level, LaserBeam& in, signed char intensity) {
    in.nextSegments.push_back(emitReflection(level, *this, in, intensity, false));
}
