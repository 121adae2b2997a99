#include "elements/Holder.h"

#include "elements/MirrorHalf.h"
#include "model/GameModels.h"

namespace {

const float HOLDER_COLOR[4] = {0.5f, 0.5f, 0.5f, 0.5f};

} // namespace

HolderFrame::HolderFrame(ActiveObject* element) {
    addChild(this, element);
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), HOLDER_COLOR);
    }
    textureIndex = dynamic_cast<MirrorHalf*>(element) ? 10 : 6;
}

Model* HolderFrame::getModel() {
    return gameModels().holderFrame.get();
}

void HolderFrame::setColor(signed char colorCode) {
    for (Renderable* child : children) {
        child->setColor(colorCode);
    }
}

Holder::Holder(ActiveObject* element) : frame_(std::make_unique<HolderFrame>(element)) {
    addChild(this, frame_.get());
    if (const Model* model = getModel()) {
        setVertexColor(this, static_cast<int>(model->vertexCount), HOLDER_COLOR);
    }
    textureIndex = 0;
}

Model* Holder::getModel() {
    return gameModels().holder.get();
}

void Holder::setColor(signed char colorCode) {
    for (Renderable* child : children) {
        child->setColor(colorCode);
    }
}

void Holder::setTexture(int index) {
    for (Renderable* child : children) {
        child->setTexture(index);
    }
}
