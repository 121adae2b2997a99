#include "core/Renderable.h"

#include "model/Model.h"

#include <cassert>

Renderable::Renderable() : Renderable(Matrix::identity()) {}

Renderable::Renderable(const Matrix& local)
    : localMatrix(local), vertexColors(1, 0.0f), worldMatrix(Matrix::identity()) {}

void Renderable::rotateX(float radians) {
    matrixRotateX(localMatrix, radians, 0);
    transformDirty = true;
}

void Renderable::rotateY(float radians) {
    matrixRotateY(localMatrix, radians, 0);
    transformDirty = true;
}

void Renderable::rotateZ(float radians) {
    matrixRotateZ(localMatrix, radians, 0);
    transformDirty = true;
}

void Renderable::scale(float x, float y, float z) {
    scaleMatrix(localMatrix, x, y, z);
    transformDirty = true;
    radiusDirty = true;
}

void Renderable::translate(float x, float y, float z) {
    multiplyLeft(localMatrix, Matrix::translation(x, y, z));
    transformDirty = true;
}

void Renderable::resetTransform() {
    float sx, sy, sz;
    extractScale(localMatrix, sx, sy, sz);
    transformDirty = true;
    localMatrix = Matrix::identity();
    scale(sx, sy, sz);
}

void Renderable::setColor(signed char) {}

bool Renderable::isSelectable() const {
    return false;
}

void Renderable::setTexture(int index) {
    textureIndex = index;
}

Point Renderable::getBoundingCenter() {
    const Model* model = getModel();
    assert(model && "class models must be loaded before the scene is used");
    Point centre{model->centre[0], model->centre[1], model->centre[2], 1.0f};
    transformPoint(getWorldMatrix(), centre);
    return centre;
}

float Renderable::getBoundingRadius() {
    if (radiusDirty) {
        const Model* model = getModel();
        assert(model && "class models must be loaded before the scene is used");
        boundingRadius = model->radius * maxScale(getWorldMatrix());
        radiusDirty = false;
    }
    return boundingRadius;
}

float Renderable::getCollisionRadius() {
    return 0.0f;
}

bool Renderable::isStale() const {
    return transformDirty || (hasParent && parent->isStale());
}

Matrix Renderable::getWorldMatrix() {
    if (isStale()) {
        if (hasParent) {
            worldMatrix = multiply(parent->getWorldMatrix(), localMatrix);
        } else {
            worldMatrix = localMatrix;
        }
        for (Renderable* child : children) {
            child->transformDirty = true;
        }
        transformDirty = false;
    }
    return worldMatrix;
}

Point Renderable::beamDirection() {
    Point d{0, 0, -1, 0};
    transformPoint(getWorldMatrix(), d);
    const float length = sqrtD(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    d[0] /= length;
    d[1] /= length;
    d[2] /= length;
    return d;
}

bool Renderable::hasSelectedAncestor() const {
    for (const Renderable* p = this; p->hasParent;) {
        p = p->parent;
        if (p->selected) {
            return true;
        }
    }
    return false;
}

bool Renderable::hasSelectedDescendant() const {
    for (const Renderable* child : children) {
        if (child->selected || child->hasSelectedDescendant()) {
            return true;
        }
    }
    return false;
}

bool Renderable::isSelectionRelated() const {
    return selected || hasSelectedAncestor() || hasSelectedDescendant();
}

void addChild(Renderable* parent, Renderable* child) {
    parent->children.push_back(child);
    child->hasParent = true;
    child->parent = parent;
}

void setVertexColor(Renderable* object, int vertexCount, const float rgba[4]) {
    object->vertexColors.assign(4 * static_cast<std::size_t>(vertexCount > 0 ? vertexCount : 0),
                                0.0f);
    for (std::size_t i = 0; i < object->vertexColors.size(); i += 4) {
        for (int c = 0; c < 4; ++c) {
            object->vertexColors[i + c] = rgba[c];
        }
    }
}

void colorCodeToRgb(signed char colorCode, float rgb[3]) {
    for (int bit = 0; bit < 3; ++bit) {
        rgb[bit] = (colorCode >= 0 && colorCode <= 7 && (colorCode & (1 << bit))) ? 1.0f : 0.0f;
    }
}
