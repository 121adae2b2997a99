#include "elements/ColorFilter.h"

#include "laser/HitShapes.h"
#include "model/GameModels.h"

ColorFilter::ColorFilter() {
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
