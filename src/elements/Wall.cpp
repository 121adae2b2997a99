#include "elements/Wall.h"

#include "laser/HitShapes.h"
#include "model/GameModels.h"

Wall::Wall() {
    const float white[4] = {1, 1, 1, 1};
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), white);
    }
    textureIndex = 7;
    constexpr float X = 100, Y = 100, Z = 10;
    const Point faces[6][3] = {
        {{-X, -Y, Z, 1}, {X, -Y, Z, 1}, {-X, Y, Z, 1}},
        {{-X, -Y, -Z, 1}, {-X, Y, -Z, 1}, {X, -Y, -Z, 1}},
        {{-X, -Y, Z, 1}, {-X, -Y, -Z, 1}, {X, -Y, Z, 1}},
        {{X, Y, Z, 1}, {X, Y, -Z, 1}, {-X, Y, Z, 1}},
        {{-X, -Y, Z, 1}, {-X, Y, Z, 1}, {-X, -Y, -Z, 1}},
        {{X, Y, Z, 1}, {X, -Y, Z, 1}, {X, Y, -Z, 1}},
    };
    for (const auto& f : faces) {
        blockingShapes.push_back(std::make_unique<HitArea>(this, f[0], f[1], f[2]));
    }
}

Model* Wall::getModel() {
    return gameModels().wall.get();
}

bool Wall::hitsBoundingSphere(const Ray&, float&) {
    return true;
}
