#include "core/Renderable.h"

#include "core/Model.h"

#include <atomic>
#include <cassert>

std::atomic<std::uint64_t> Renderable::hierarchyEpoch_{1};
std::atomic<long> Renderable::liveCount_{0};

Renderable::Renderable() : Renderable(Matrix::identity()) {
    vertexColors.assign(1, 0.0f);
}

Renderable::Renderable(const Matrix& local) : worldMatrix(Matrix::identity()), localMatrix(local) {
    liveCount_.fetch_add(1, std::memory_order_relaxed);
}

Renderable::~Renderable() {
    liveCount_.fetch_sub(1, std::memory_order_relaxed);
}

void Renderable::markTransformed() {
    transformDirty = true;
    // The descendants learn of it through the parent chain, unless they were found fresh in the
    // current epoch: start a new one. (Laser segments, which have no children, start none.)
    if (!children.empty()) {
        hierarchyEpoch_.fetch_add(1, std::memory_order_relaxed);
    }
}

void Renderable::rotateX(float radians) {
    matrixRotateX(localMatrix, radians, 0);
    markTransformed();
}

void Renderable::rotateY(float radians) {
    matrixRotateY(localMatrix, radians, 0);
    markTransformed();
}

void Renderable::rotateZ(float radians) {
    matrixRotateZ(localMatrix, radians, 0);
    markTransformed();
}

void Renderable::scale(float x, float y, float z) {
    scaleMatrix(localMatrix, x, y, z);
    markTransformed();
    radiusDirty = true;
}

void Renderable::translate(float x, float y, float z) {
    multiplyLeft(localMatrix, Matrix::translation(x, y, z));
    markTransformed();
}

void Renderable::resetTransform() {
    float sx, sy, sz;
    extractScale(localMatrix, sx, sy, sz);
    markTransformed();
    localMatrix = Matrix::identity();
    scale(sx, sy, sz);
}

void Renderable::setLocalMatrix(const Matrix& local) {
    localMatrix = local;
    markTransformed();
    radiusDirty = true;
}

void Renderable::setColor(signed char) {}

bool Renderable::isSelectable() const {
    return false;
}

void Renderable::setTexture(int index) {
    textureIndex = index;
}

void Renderable::computeBoundingCenter(const Matrix& world) {
    const Model* model = getModel();
    assert(model && "class models must be loaded before the scene is used");
    Point centre{model->centre[0], model->centre[1], model->centre[2], 1.0f};
    transformPoint(world, centre);
    boundingCentre_ = {centre[0], centre[1], centre[2]};
    centreVersion_ = worldVersion_;
}

void Renderable::computeBoundingRadius() {
    const Model* model = getModel();
    assert(model && "class models must be loaded before the scene is used");
    boundingRadius = model->radius * maxScale(refreshedWorldMatrix());
    radiusDirty = false;
}

float Renderable::getCollisionRadius() {
    return 0.0f;
}

bool Renderable::isStale() const {
    for (const Renderable* r = this;; r = r->parent) {
        if (r->transformDirty) {
            return true;
        }
        if (!r->hasParent) {
            return false;
        }
    }
}

void Renderable::refreshWorldMatrix() {
    if (isStale()) {
        recomputeWorldMatrix();
    }
    // Whatever makes the chain stale from now on starts a new epoch (a recomputation marks the
    // children dirty, but only follows a transformation up the chain).
    freshInEpoch_ = hierarchyEpoch_.load(std::memory_order_relaxed);
}

void Renderable::recomputeWorldMatrix() {
    if (hasParent) {
        worldMatrix = multiply(parent->refreshedWorldMatrix(), localMatrix);
    } else {
        worldMatrix = localMatrix;
    }
    ++worldVersion_;
    for (Renderable* child : children) {
        child->transformDirty = true;
    }
    transformDirty = false;
}

Point Renderable::beamDirection() {
    Point d{0, 0, -1, 0};
    transformPoint(refreshedWorldMatrix(), d);
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
    assert(child != parent && !child->hasParent && "a node is attached at most once");
    parent->children.push_back(child);
    child->hasParent = true;
    child->parent = parent;
    // The child's chain changed.
    Renderable::hierarchyEpoch_.fetch_add(1, std::memory_order_relaxed);
}

void setVertexColor(Renderable* object, int vertexCount, const float rgba[4]) {
    std::vector<float>& colors = object->vertexColors;
    colors.clear();
    colors.reserve(4 * static_cast<std::size_t>(vertexCount > 0 ? vertexCount : 0));
    for (int i = 0; i < vertexCount; ++i) {
        colors.insert(colors.end(), rgba, rgba + 4);
    }
}

void colorCodeToRgb(signed char colorCode, float rgb[3]) {
    for (int bit = 0; bit < 3; ++bit) {
        rgb[bit] = (colorCode >= 0 && colorCode <= 7 && (colorCode & (1 << bit))) ? 1.0f : 0.0f;
    }
}
