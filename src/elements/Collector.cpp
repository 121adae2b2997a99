#include "elements/Collector.h"

#include "laser/HitShapes.h"
#include "model/GameModels.h"

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
