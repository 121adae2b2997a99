#pragma once
// The goal: a ball (FinshHead) that must receive light of exactly its required colour, and
// below it the goal's body (Finish), whose mesh morphs through five key frames as its door opens
// and back as it closes.

#include "core/Model.h"
#include "elements/ActiveObject.h"

#include <memory>

/// States of the goal's door.
constexpr int DOOR_CLOSING = -1;
constexpr int DOOR_CLOSED = 0;
constexpr int DOOR_OPENING = 1;
constexpr int DOOR_OPEN = 2;

/// Morph position of a fully open door.
constexpr float DOOR_OPEN_PROGRESS = 4.0f;

class Finish : public ActiveObject {
  public:
    /// A closed white door with its own copy of the first key frame as its mesh. Its bounding
    /// centre follows the mesh (which changes while the door moves; and every look at the mesh
    /// moves the door on, the bounding-sphere test of each traced beam included).
    Finish();
    /// Advances the morph by `speed` while opening or closing, rebuilding the mesh whenever the
    /// progress moved more than 0.01 since the last rebuild, and returns the current mesh.
    Model* getModel() override;
    /// Counts the rebuilds of the mesh.
    std::uint64_t modelVersion() const override { return meshVersion; }
    bool isModelMoving() const override { return state == DOOR_OPENING || state == DOOR_CLOSING; }
    void setColor(signed char colorCode) override;
    bool emitOutgoingLasers(Level&) override { return false; }

    signed char colorCode = 7;
    signed char keyframe = 0; ///< key frame the morph starts from
    float progress = 0.0f;    ///< 0 closed to 4 open
    std::unique_ptr<Model> currentModel;
    float lastBuiltProgress = -1.0f;
    std::uint64_t meshVersion = 0;
    int state = DOOR_CLOSED;
    float speed = 0.001f; ///< change of progress per model query
};

class FinshHead : public ActiveObject {
  public:
    /// Creates its door 50 units below itself. A goal requires white until told otherwise.
    FinshHead();
    Model* getModel() override;
    /// Sets the colour the goal requires and colours the ball.
    void setColor(signed char colorCode) override;
    /// HIT_ACTIVE when the ray meets the bounding sphere, else HIT_NONE; point and normal
    /// untouched. (The ball has no shapes: it is hit without them.)
    int hitTest(const Ray& ray, float& distance, float point[3], float normal[3]) override;
    bool emitOutgoingLasers(Level&) override { return false; }
    /// True when at least one beam reached the ball and every one has exactly the required
    /// colour. Sets the door opening when satisfied (unless open) and closing otherwise (unless
    /// closed).
    bool isSatisfied();
    /// Whether some beam reaches it and every one that does has its colour; the door is left
    /// alone.
    bool hasItsColour() const;

    Finish* door() const { return door_.get(); }

    signed char requiredColor = 7;

  private:
    std::unique_ptr<Finish> door_;
};
