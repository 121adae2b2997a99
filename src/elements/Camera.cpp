#include "elements/Camera.h"

#include "model/GameModels.h"

Camera::Camera() {
    const float white[4] = {1, 1, 1, 1};
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), white);
    }
    scale(0.05f, 0.05f, 0.05f);
    rotateY(static_cast<float>(PI));
    textureIndex = 5;
}

Model* Camera::getModel() {
    return gameModels().eye.get();
}
