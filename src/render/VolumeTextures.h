#pragma once
// Texel contents of the six procedural volume textures (texture indices 0 to 5), computed
// without OpenGL. Texels are RGBA bytes with alpha 0; x is the s direction, y t, z r.

#include <array>
#include <cstdint>
#include <vector>

constexpr int VOLUME_TEXTURE_COUNT = 6;

/// Edge length in texels of volume texture `index` (64 or 128).
int volumeTextureSize(int index);

/// The RGBA texel (x, y, z) of volume texture `index`.
std::array<std::uint8_t, 4> volumeTexel(int index, int x, int y, int z);

/// Fills `texels` with the whole texture, x fastest, then y, then z (the upload order).
void fillVolumeTexture(int index, std::vector<std::uint8_t>& texels);
