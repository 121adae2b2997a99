#pragma once
// The base of everything that stands in the scene: a local transform in a parent-child
// hierarchy, a cached world matrix, per-vertex colours for the class's model, a texture index
// and a cached bounding sphere.
//
// Transform order: rotations and scalings multiply the local matrix on the right (they act about
// the object's own origin and axes); translations multiply it on the left (they move the object
// along its parent's axes, whatever its rotation). Angles in radians, lengths in world units.
//
// Ownership: an object owns its matrices and colours; it owns neither its parent nor its
// children. The level owns every scene object (see Level).

#include "core/Matrix.h"

#include <vector>

struct Model;

class Renderable {
  public:
    Renderable();
    /// Starts with `local` as the local matrix (used for laser segments).
    explicit Renderable(const Matrix& local);
    virtual ~Renderable() = default;
    Renderable(const Renderable&) = delete;
    Renderable& operator=(const Renderable&) = delete;

    /// The class's shared mesh (null only while the models are not loaded).
    virtual Model* getModel() = 0;
    virtual void rotateX(float radians);
    virtual void rotateY(float radians);
    virtual void rotateZ(float radians);
    virtual void scale(float x, float y, float z);
    virtual void translate(float x, float y, float z);
    /// Keeps the scale and drops rotation and translation.
    virtual void resetTransform();
    /// Colour code: bit 0 red, bit 1 green, bit 2 blue. Ignored unless a class overrides it.
    virtual void setColor(signed char colorCode);
    virtual bool isSelectable() const;
    virtual void setTexture(int index);
    /// The model's bounding-sphere centre in world space (x, y, z, 1).
    virtual Point getBoundingCenter();
    /// The model's radius times the largest scale of the world matrix, cached until the object's
    /// own scale changes (a later change of an ancestor's scale keeps the cached value).
    virtual float getBoundingRadius();
    /// Radius for the placement overlap test; only positive radii take part.
    virtual float getCollisionRadius();

    /// The product of the ancestors' world matrix and the local matrix, recomputed only when
    /// this object or an ancestor changed since the last query.
    Matrix getWorldMatrix();
    /// The normalised world -Z axis: the direction the object faces and its light travels.
    Point beamDirection();
    std::vector<Renderable*> getChildren() const { return children; }
    bool hasSelectedAncestor() const;
    bool hasSelectedDescendant() const;
    bool isSelectionRelated() const;

    Matrix localMatrix;
    std::vector<float> vertexColors;   ///< RGBA per model vertex
    std::vector<Renderable*> children; ///< not owned, in attachment order
    bool hasParent = false;
    Renderable* parent = nullptr; ///< not owned; meaningful only when hasParent
    int textureIndex = -1;        ///< -1 none
    bool selected = false;
    float boundingRadius = 0;
    bool radiusDirty = true;
    bool transformDirty = true;
    Matrix worldMatrix;
    unsigned int pickName = 0; ///< selection name of the last picking pass, 0 if not selectable

  private:
    bool isStale() const;
};

/// Appends child to parent's children and links the child to its parent. Each object is attached
/// at most once; the child is not marked dirty.
void addChild(Renderable* parent, Renderable* child);

/// Gives every one of the vertexCount vertices the colour rgba.
void setVertexColor(Renderable* object, int vertexCount, const float rgba[4]);

/// RGB of a colour code, 1 for each set bit; codes outside 0..7 give black.
void colorCodeToRgb(signed char colorCode, float rgb[3]);
