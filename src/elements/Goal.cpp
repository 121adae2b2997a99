#include "elements/Goal.h"

#include "laser/HitShapes.h"
#include "laser/LaserBeam.h"
#include "model/GameModels.h"
#include "model/ModelLoader.h"

#include <cmath>

namespace {

void colorModel(Renderable* object, signed char colorCode, const Model* model) {
    float rgba[4];
    colorCodeToRgb(colorCode, rgba);
    rgba[3] = 1.0f;
    if (model) {
        setVertexColor(object, static_cast<int>(model->vertexCount), rgba);
    }
}

// Positions and normals blended between key frames a and b at t; everything else from k.
std::unique_ptr<Model> blendKeyframes(const Model& a, const Model& b, const Model& k, float t) {
    auto m = std::make_unique<Model>();
    m->vertexCount = k.vertexCount;
    m->indexCount = k.indexCount;
    m->indices = k.indices;
    m->texCoords = k.texCoords;
    m->texCoordSize = k.texCoordSize + 1;
    m->texCoordComponents = k.texCoordComponents;
    m->centre = {k.centre[0], k.centre[1], k.centre[2], 1.0f};
    m->radius = k.radius;
    const std::size_t n = 3 * std::size_t{k.vertexCount};
    m->positions.resize(n);
    m->normals.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        m->positions[i] = a.positions[i] * (1 - t) + b.positions[i] * t;
        m->normals[i] = a.normals[i] * (1 - t) + b.normals[i] * t;
    }
    return m;
}

} // namespace

Finish::Finish() {
    followsModel_ = true;
    currentModel = loadModel(gameModelPath("Ziel1.3ds"), 0.3f, false);
    if (!currentModel && gameModels().goalKeyframes[0]) {
        currentModel = std::make_unique<Model>(*gameModels().goalKeyframes[0]);
    }
    setColor(7);
    textureIndex = 4;
    blockingShapes.push_back(std::make_unique<HitSphere>(this, Point{0, -15, 0, 1}, 5.0f));
}

void Finish::setColor(signed char code) {
    colorCode = code;
    colorModel(this, code, gameModels().goalKeyframes[0].get());
}

Model* Finish::getModel() {
    if (state == DOOR_OPENING) {
        progress += speed;
        keyframe = static_cast<signed char>(progress);
        if (progress >= DOOR_OPEN_PROGRESS) {
            state = DOOR_OPEN;
        }
    } else if (state == DOOR_CLOSING) {
        progress -= speed;
        keyframe = static_cast<signed char>(progress);
        if (progress <= 0.0f) {
            state = DOOR_CLOSED;
        }
    } else {
        return currentModel.get();
    }
    const int next = (keyframe + 1) % GOAL_KEYFRAME_COUNT;
    if ((state == DOOR_OPENING || state == DOOR_CLOSING) && keyframe >= 0 &&
        keyframe < GOAL_KEYFRAME_COUNT &&
        std::fabs(static_cast<double>(progress) - static_cast<double>(lastBuiltProgress)) > 0.01) {
        const GameModels& models = gameModels();
        const Model* a = models.goalKeyframes[keyframe].get();
        const Model* b = models.goalKeyframes[next].get();
        const Model* k = models.goalKeyframes[0].get();
        if (a && b && k) {
            lastBuiltProgress = progress;
            currentModel = blendKeyframes(*a, *b, *k, progress - keyframe);
            ++meshVersion;
        }
    }
    return currentModel.get();
}

FinshHead::FinshHead() : door_(std::make_unique<Finish>()) {
    hitWithoutShapes_ = true;
    door_->translate(0, -50, 0);
    addChild(this, door_.get());
    setColor(7);
}

Model* FinshHead::getModel() {
    return gameModels().ball.get();
}

void FinshHead::setColor(signed char code) {
    requiredColor = code;
    colorModel(this, code, getModel());
}

int FinshHead::hitTest(const Ray& ray, float& distance, float*, float*) {
    return hitsBoundingSphere(ray, distance) ? HIT_ACTIVE : HIT_NONE;
}

bool FinshHead::hasItsColour() const {
    bool ok = !incomingLasers.empty();
    for (const LaserBeam* beam : incomingLasers) {
        ok = ok && beam->colorCode == requiredColor;
    }
    return ok;
}

bool FinshHead::isSatisfied() {
    const bool ok = hasItsColour();
    // The door is the head's last child.
    if (auto* door = dynamic_cast<Finish*>(children.empty() ? nullptr : children.back())) {
        if (ok && door->state != DOOR_OPEN) {
            door->state = DOOR_OPENING;
        } else if (!ok && door->state != DOOR_CLOSED) {
            door->state = DOOR_CLOSING;
        }
    }
    return ok;
}
