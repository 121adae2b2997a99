#include "laser/LaserBeam.h"

#include "model/GameModels.h"

LaserBeam::LaserBeam(signed char colorCode_, signed char intensity_, ActiveObject* owner_)
    : LaserBeam(colorCode_, intensity_, owner_, Matrix::identity()) {}

LaserBeam::LaserBeam(signed char colorCode_, signed char intensity_, ActiveObject* owner_,
                     const Matrix& matrix)
    : Renderable(matrix), intensity(intensity_), owner(owner_) {
    isFilter = false;
    filterMask = 0;
    object = this;
    setColor(colorCode_);
}

Model* LaserBeam::getModel() {
    return gameModels().laserBeam.get();
}

void LaserBeam::setColor(signed char code) {
    colorCode = code;
    float rgba[4];
    colorCodeToRgb(code, rgba);
    rgba[3] = static_cast<float>(intensity * INTENSITY_TO_ALPHA);
    const Model* model = getModel();
    setVertexColor(this, model ? static_cast<int>(model->vertexCount) : 1, rgba);
}
