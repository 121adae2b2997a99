#include "render/ShadowState.h"

#include <cstring>

void ShadowState::add(const Matrix& m) {
    for (int i = 0; i < 16; ++i) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &m.m[static_cast<std::size_t>(i)], sizeof bits);
        globals_.push_back(bits);
    }
}

void ShadowState::add(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    globals_.push_back(bits);
}

ShadowState::Update ShadowState::update() const {
    if (!valid_ || globals_ != shownGlobals_ || casters_.size() != shown_.size()) {
        return Update::Whole;
    }
    bool any = false;
    for (std::size_t i = 0; i < casters_.size(); ++i) {
        if (casters_[i].object != shown_[i].object) {
            return Update::Whole;
        }
        any = any || casters_[i] != shown_[i];
    }
    return any ? Update::Parts : Update::None;
}

void ShadowState::markRendered(const std::vector<ScreenRect>& rects) {
    // Assignments reuse the storage once it is large enough.
    shownGlobals_ = globals_;
    shown_ = casters_;
    shownRects_ = rects;
    shownRects_.resize(shown_.size());
    valid_ = true;
}
