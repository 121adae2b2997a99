#pragma once
// What the shadow map must have redrawn: the renderer describes what the map would show every
// frame, the light and the screen's aspect as a list of numbers and each shadow caster by its
// world matrix version, model version and outline, and compares it with the description of the
// map as last rendered. When only some casters changed, only the parts of the map that they
// covered before and cover now need drawing again: everywhere else the same casters would put
// the same depths. No OpenGL; after the first frames no allocation.

#include "core/Matrix.h"
#include "rules/Frustum.h"

#include <cstdint>
#include <vector>

class ShadowState {
  public:
    /// One shadow caster as the map shows it.
    struct Caster {
        const void* object = nullptr;
        std::uint64_t worldVersion = 0;
        std::uint64_t modelVersion = 0;
        bool outlined = false;
        bool operator==(const Caster& o) const {
            return object == o.object && worldVersion == o.worldVersion &&
                   modelVersion == o.modelVersion && outlined == o.outlined;
        }
        bool operator!=(const Caster& o) const { return !(*this == o); }
    };

    enum class Update {
        None,  ///< the map shows what it should
        Parts, ///< the same casters, some of them changed: their parts of the map
        Whole, ///< anything else: the light, the aspect, which casters, or no map yet
    };

    /// Starts a new description.
    void begin() {
        globals_.clear();
        casters_.clear();
    }
    /// Adds a number about the whole map: a change of any of its bits redraws all.
    void add(std::uint64_t value) { globals_.push_back(value); }
    /// The matrix's sixteen values by their bits.
    void add(const Matrix& m);
    void add(double value);
    void addCaster(const Caster& caster) { casters_.push_back(caster); }

    Update update() const;
    /// The casters of the current description, in the order added.
    const std::vector<Caster>& casters() const { return casters_; }
    /// With Update::Parts: whether the i-th caster differs from the map's.
    bool changed(std::size_t i) const { return casters_[i] != shown_[i]; }
    /// With Update::Parts: the part of the map the i-th caster covered when last drawn.
    const ScreenRect& shownRect(std::size_t i) const { return shownRects_[i]; }

    /// The map now shows the current description; rects holds where each caster covers it.
    void markRendered(const std::vector<ScreenRect>& rects);
    /// The map shows nothing known (a new target): the next update is Whole.
    void invalidate() { valid_ = false; }

  private:
    std::vector<std::uint64_t> globals_, shownGlobals_;
    std::vector<Caster> casters_, shown_;
    std::vector<ScreenRect> shownRects_;
    bool valid_ = false;
};
