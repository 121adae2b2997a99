#pragma once
// Cell masks over the level's colour filters: bit i stands for filter i. Only the first
// MAX_FILTER_BITS filters get a bit; later ones have none (mask 0). Arithmetic on masks wraps
// instead of overflowing.

#include <cstddef>

constexpr std::size_t MAX_FILTER_BITS = 31;

inline int filterBit(std::size_t index) {
    return index < MAX_FILTER_BITS ? static_cast<int>(1u << index) : 0;
}
inline int maskAdd(int mask, int bit) {
    return static_cast<int>(static_cast<unsigned>(mask) + static_cast<unsigned>(bit));
}
inline int maskSub(int mask, int bit) {
    return static_cast<int>(static_cast<unsigned>(mask) - static_cast<unsigned>(bit));
}
