#pragma once
// Periodic noise for the generated textures. Every function takes lattice coordinates and a
// period in lattice cells per axis: the result repeats exactly when x grows by periodX or y by
// periodY, so a texture that samples [0, periodX) x [0, periodY) across its width and height
// tiles without seams. All results follow from the arguments alone, never from global state.

#include <cstdint>

namespace texnoise {

/// Mixes the lattice point (x, y) with a seed value into 32 well-spread bits.
std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed);
/// The hash mapped to [0, 1).
float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed);

/// Smoothly interpolated random values on the lattice, in [0, 1].
float valueNoise(float x, float y, int periodX, int periodY, std::uint32_t seed);
/// Interpolated random gradients on the lattice, roughly in [-1, 1], zero on lattice points.
float gradientNoise(float x, float y, int periodX, int periodY, std::uint32_t seed);

/// Fractal sum of gradient noise: octave k samples (x, y) * 2^k with the period doubled, so the
/// sum keeps the period of the first octave. Normalised to roughly [-1, 1].
float fbm(float x, float y, int periodX, int periodY, int octaves, float gain, std::uint32_t seed);

/// The two nearest feature points of a jittered grid of periodX x periodY cells (one point per
/// cell, displaced by up to jitter / 2 of a cell from its centre along each axis; jitter runs
/// from 0 to 1).
struct Cellular {
    float f1 = 0;         ///< distance to the nearest point, in cells
    float f2 = 0;         ///< distance to the second nearest point
    std::uint32_t id = 0; ///< hash of the nearest point's cell, equal for its whole region
    float nearestX = 0;   ///< nearest point, unwrapped into the neighbourhood of (x, y)
    float nearestY = 0;
};
Cellular cellular(float x, float y, int periodX, int periodY, float jitter, std::uint32_t seed);

/// Wraps i into [0, period).
inline int wrap(int i, int period) {
    const int r = i % period;
    return r < 0 ? r + period : r;
}

/// 0 below edge0, 1 above edge1, a smooth cubic step between.
float smoothstep(float edge0, float edge1, float x);

} // namespace texnoise
