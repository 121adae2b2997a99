#pragma once
// The base of everything that stands in the scene: a local transform in a parent-child
// hierarchy, a cached world matrix, per-vertex colours for the class's model, a texture index
// and a cached bounding sphere.
//
// Every recomputation of the world matrix gives it a new version number, never used before by
// the object; whatever is derived from the world matrix (the bounding centre here, the world
// faces of the hit shapes) is cached under that number and rebuilt when it changes.
//
// Staleness: an object's world matrix is stale when it or an ancestor was transformed since it
// was computed (transformDirty up the parent chain). To spare that walk, a process-wide hierarchy
// epoch advances with every transformation of an object that has children and with every
// addChild; an object that is not dirty itself and was found fresh in the current epoch is
// fresh. The hierarchy (hasParent, parent, children) and transformDirty are therefore changed
// only through addChild and the transformation methods.
//
// Transform order: rotations and scalings multiply the local matrix on the right (they act about
// the object's own origin and axes); translations multiply it on the left (they move the object
// along its parent's axes, whatever its rotation). Angles in radians, lengths in world units.
//
// Ownership: an object owns its matrices and colours; it owns neither its parent nor its
// children. The level owns every scene object (see Level).

#include "core/Matrix.h"

#include <atomic>
#include <cstdint>
#include <vector>

struct Model;

class Renderable {
  public:
    /// Starts with the identity and one black colour entry.
    Renderable();
    /// Starts with `local` as the local matrix and no colours (for laser segments, which colour
    /// themselves at once).
    explicit Renderable(const Matrix& local);
    virtual ~Renderable();
    Renderable(const Renderable&) = delete;
    Renderable& operator=(const Renderable&) = delete;

    /// How many scene objects exist in the process (for tests that look for leaks).
    static long liveCount() { return liveCount_.load(std::memory_order_relaxed); }

    /// The class's shared mesh (null only while the models are not loaded).
    virtual Model* getModel() = 0;
    virtual void rotateX(float radians);
    virtual void rotateY(float radians);
    virtual void rotateZ(float radians);
    virtual void scale(float x, float y, float z);
    virtual void translate(float x, float y, float z);
    /// Keeps the scale and drops rotation and translation.
    virtual void resetTransform();
    /// Puts back a local matrix taken from this object before (undo, a dropped manipulation).
    /// Not forwarded: it acts on this object alone.
    void setLocalMatrix(const Matrix& local);
    /// Colour code: bit 0 red, bit 1 green, bit 2 blue. Ignored unless a class overrides it.
    virtual void setColor(signed char colorCode);
    virtual bool isSelectable() const;
    virtual void setTexture(int index);
    /// The model's bounding-sphere centre in world space (x, y, z, 1), cached while the world
    /// matrix keeps its version: the model is read when the matrix has changed, or on every call
    /// for a class that sets followsModel_ (its model changes under a still object).
    Point getBoundingCenter() {
        const Matrix& world = refreshedWorldMatrix();
        if (centreVersion_ != worldVersion_ || followsModel_) {
            computeBoundingCenter(world);
        }
        return {boundingCentre_[0], boundingCentre_[1], boundingCentre_[2], 1.0f};
    }
    /// The model's radius times the largest scale of the world matrix, cached until the object's
    /// own scale changes (a later change of an ancestor's scale keeps the cached value).
    float getBoundingRadius() {
        if (radiusDirty) {
            computeBoundingRadius();
        }
        return boundingRadius;
    }
    /// Radius for the placement overlap test; only positive radii take part.
    virtual float getCollisionRadius();
    /// A number that changes whenever the mesh getModel() returns changes shape under a still
    /// object (0 for a class whose mesh never does). Reading it changes nothing.
    virtual std::uint64_t modelVersion() const { return 0; }
    /// True while the mesh changes from one getModel() call to the next (a door on the move).
    virtual bool isModelMoving() const { return false; }

    /// The product of the ancestors' world matrix and the local matrix, recomputed only when
    /// this object or an ancestor changed since the last query.
    Matrix getWorldMatrix() { return refreshedWorldMatrix(); }
    /// getWorldMatrix without the copy. The reference lives as long as the object; the matrix it
    /// refers to changes with the next recomputation.
    const Matrix& refreshedWorldMatrix() {
        if (!isWorldMatrixCurrent()) {
            refreshWorldMatrix();
        }
        return worldMatrix;
    }
    /// True when the world matrix is known to be up to date without looking at the ancestors
    /// (false says nothing: refreshedWorldMatrix finds out).
    bool isWorldMatrixCurrent() const {
        return !transformDirty && freshInEpoch_ == hierarchyEpoch_.load(std::memory_order_relaxed);
    }
    /// The version of the world matrix as of its last refresh (refreshedWorldMatrix or
    /// getWorldMatrix): a new number whenever it was recomputed. Versions start at 1.
    std::uint64_t worldVersion() const { return worldVersion_; }
    /// The normalised world -Z axis: the direction the object faces and its light travels.
    Point beamDirection();
    std::vector<Renderable*> getChildren() const { return children; }
    bool hasSelectedAncestor() const;
    bool hasSelectedDescendant() const;
    bool isSelectionRelated() const;

    // The members are laid out for the laser tracer, which tests every element against every
    // beam: what a test reads (the world matrix's freshness and version, the bounding sphere)
    // fills the first 64 bytes with the vtable pointer (a cache line, for the cache-line aligned
    // elements).
    bool hasParent = false;
    /// This object was transformed since its world matrix was computed (its ancestors are not
    /// looked at).
    bool transformDirty = true;
    bool radiusDirty = true;

  protected:
    /// For a class whose model changes while the object stands still: getBoundingCenter reads
    /// the model on every call.
    bool followsModel_ = false;

  public:
    float boundingRadius = 0;

  private:
    std::uint64_t freshInEpoch_ = 0; ///< hierarchy epoch in which the matrix was found fresh
    std::uint64_t worldVersion_ = 1;
    // getBoundingCenter's last result (x, y, z; w is 1) and the world matrix version it came from.
    std::uint64_t centreVersion_ = 0;
    std::array<float, 3> boundingCentre_{};

  public:
    Renderable* parent = nullptr; ///< not owned; meaningful only when hasParent

  private:
    Matrix worldMatrix;

  public:
    Matrix localMatrix;
    std::vector<float> vertexColors;   ///< RGBA per model vertex
    std::vector<Renderable*> children; ///< not owned, in attachment order
    int textureIndex = -1;             ///< -1 none
    bool selected = false;
    unsigned int pickName = 0; ///< selection name of the last picking pass, 0 if not selectable

  private:
    friend void addChild(Renderable* parent, Renderable* child);

    /// Marks the local matrix changed.
    void markTransformed();
    /// This object or an ancestor changed since the world matrix was computed.
    bool isStale() const;
    void refreshWorldMatrix();
    void recomputeWorldMatrix();
    void computeBoundingCenter(const Matrix& world);
    void computeBoundingRadius();

    /// Starts at 1, above every object's initial freshInEpoch_.
    static std::atomic<std::uint64_t> hierarchyEpoch_;
    static std::atomic<long> liveCount_;
};

/// Appends child to parent's children and links the child to its parent. Each object is attached
/// at most once; the child is not marked dirty (but is stale when its new parent is).
void addChild(Renderable* parent, Renderable* child);

/// Gives every one of the vertexCount vertices the colour rgba.
void setVertexColor(Renderable* object, int vertexCount, const float rgba[4]);

/// RGB of a colour code, 1 for each set bit; codes outside 0..7 give black.
void colorCodeToRgb(signed char colorCode, float rgb[3]);
