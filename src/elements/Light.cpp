#include "elements/Light.h"

#include "model/GameModels.h"

Light::Light() {
    const float white[4] = {1, 1, 1, 1};
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), white);
    }
}

Model* Light::getModel() {
    return gameModels().lamp.get();
}

void Light::rotateX(float radians) {
    Renderable::rotateX(radians);
    matrixRotateX(lightViewMatrix, -radians, 0);
}

void Light::rotateY(float radians) {
    Renderable::rotateY(radians);
    matrixRotateY(lightViewMatrix, -radians, 0);
}

void Light::rotateZ(float radians) {
    Renderable::rotateZ(radians);
    matrixRotateZ(lightViewMatrix, -radians, 0);
}

void Light::translate(float x, float y, float z) {
    Renderable::translate(x, y, z);
    multiplyRight(lightViewMatrix, Matrix::translation(-x, -y, -z));
}
