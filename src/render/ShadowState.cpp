#include "render/ShadowState.h"

#include <cstring>

void ShadowState::add(const Matrix& m) {
    for (int i = 0; i < 16; ++i) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &m.m[static_cast<std::size_t>(i)], sizeof bits);
        current_.push_back(bits);
    }
}

void ShadowState::add(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    current_.push_back(bits);
}

void ShadowState::markRendered() {
    shown_ = current_; // reuses shown_'s storage once it is large enough
    valid_ = true;
}
