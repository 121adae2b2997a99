#include "render/VolumeTextures.h"

#include <gtest/gtest.h>

TEST(VolumeTextures, EveryTextureIsFilledTexelByTexelInUploadOrderWithAlphaZero) {
    std::vector<std::uint8_t> texels;
    for (int index = 0; index < VOLUME_TEXTURE_COUNT; ++index) {
        const int n = volumeTextureSize(index);
        ASSERT_TRUE(n == 64 || n == 128) << index;
        fillVolumeTexture(index, texels);
        ASSERT_EQ(texels.size(), std::size_t(n) * n * n * 4);
        // x runs fastest, z slowest; corners and a point inside.
        for (const auto& [x, y, z] : {std::array<int, 3>{0, 0, 0},
                                      {n - 1, 0, 0},
                                      {1, 2, 3},
                                      {0, n - 1, 0},
                                      {0, 0, n - 1},
                                      {n - 1, n - 1, n - 1}}) {
            const std::size_t at = 4 * (x + std::size_t(n) * (y + std::size_t(n) * z));
            const auto texel = volumeTexel(index, x, y, z);
            EXPECT_EQ(texel[3], 0);
            EXPECT_TRUE(std::equal(texel.begin(), texel.end(), texels.begin() + at))
                << index << " at " << x << "," << y << "," << z;
        }
    }
}
