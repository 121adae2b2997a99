#include "render/VolumeTextures.h"

#include <cassert>
#include <cmath>

int volumeTextureSize(int index) {
    assert(index >= 0 && index < VOLUME_TEXTURE_COUNT && "a volume texture index in range");
    return index >= 4 ? 128 : 64;
}

std::array<std::uint8_t, 4> volumeTexel(int index, int x, int y, int z) {
    assert(index >= 0 && index < VOLUME_TEXTURE_COUNT && "a volume texture index in range");
    const auto byte = [](int v) { return static_cast<std::uint8_t>(v); };
    switch (index) {
    case 0: { // grey ramp
        const auto g = byte(30 + x + y + z);
        return {g, g, g, 0};
    }
    case 1: // colour cube
        return {byte(4 * z), byte(4 * y), byte(4 * x), 0};
    case 2: // diagonal bands
        return {byte(8 * (z + y) % 256), byte(8 * (y + x) % 256), byte(8 * (z + x) % 256), 0};
    case 3: { // checkerboard of 4-texel cells
        const auto v = byte((x / 4 + y / 4 + z / 4) % 2 == 1 ? 255 : 0);
        return {v, v, v, 0};
    }
    case 4: { // radial grey, measured from the middle of the y = 0 face
        const double d = std::sqrt(double((z - 64) * (z - 64) + y * y + (x - 64) * (x - 64)));
        const auto v = byte(static_cast<int>(255 * std::pow(d / std::sqrt(24576.0), 1.5)));
        return {v, v, v, 0};
    }
    default: // vertical gradient
        return {byte(z / 2), byte(z / 2), byte(2 * z), 0};
    }
}

void fillVolumeTexture(int index, std::vector<std::uint8_t>& texels) {
    const int n = volumeTextureSize(index);
    texels.resize(static_cast<std::size_t>(n) * n * n * 4);
    std::size_t at = 0;
    for (int z = 0; z < n; ++z) {
        for (int y = 0; y < n; ++y) {
            for (int x = 0; x < n; ++x) {
                const auto t = volumeTexel(index, x, y, z);
                for (std::uint8_t c : t) {
                    texels[at++] = c;
                }
            }
        }
    }
}
