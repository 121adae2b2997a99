#include "elements/Emitter.h"

#include "laser/Emission.h"
#include "laser/HitShapes.h"
#include "laser/LaserBeam.h"
#include "model/GameModels.h"

Emitter::Emitter() {
    const float white[4] = {1, 1, 1, 1};
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), white);
    }
    textureIndex = 1;
    blockingShapes.push_back(std::make_unique<HitSphere>(this, Point{0, 0, 80, 1}, 12.0f));
    blockingShapes.push_back(std::make_unique<HitSphere>(this, Point{0, 0, 20, 1}, 9.0f));
    blockingShapes.push_back(std::make_unique<HitSphere>(this, Point{0, 0, -40, 1}, 12.0f));
}

Model* Emitter::getModel() {
    return gameModels().emitter.get();
}

bool Emitter::emitOutgoingLasers(Level& level) {
    if (outgoingLasers.size() == 1) {
        return false;
    }
    outgoingLasers.clear();
    emitSourceBeam(level, *this, COLOR_WHITE);
    return true;
}
