#pragma once
// Whether the shadow map must be rendered again: the renderer describes what the map would show
// (the light, each shadow caster's world matrix version, model version and outline) as a list
// of numbers every frame, and renders only when the list differs from the one of the last
// rendering. No OpenGL; after the first frames no allocation.

#include "core/Matrix.h"

#include <cstdint>
#include <vector>

class ShadowState {
  public:
    /// Starts a new description.
    void begin() { current_.clear(); }
    void add(std::uint64_t value) { current_.push_back(value); }
    /// Adds the matrix's sixteen values by their bits (a change of any bit counts).
    void add(const Matrix& m);
    void add(double value);
    /// True when the description differs from the one last marked rendered, or none was.
    bool changed() const { return !valid_ || current_ != shown_; }
    /// The map now shows the current description.
    void markRendered();
    /// The map shows nothing known (a new target): the next description counts as changed.
    void invalidate() { valid_ = false; }

  private:
    std::vector<std::uint64_t> current_, shown_;
    bool valid_ = false;
};
