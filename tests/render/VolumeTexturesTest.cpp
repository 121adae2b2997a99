#include "render/VolumeTextures.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(VolumeTextures, SizesTexelsAtTheEdgesAndTheFillOrder) {
    EXPECT_EQ(volumeTextureSize(3), 64);
    EXPECT_EQ(volumeTextureSize(4), 128);
    EXPECT_EQ(volumeTexel(0, 63, 63, 63)[0], 219);
    // Products past 255 wrap round.
    EXPECT_EQ(volumeTexel(2, 30, 20, 10),
              (std::array<std::uint8_t, 4>{240, 400 % 256, 320 % 256, 0}));
    std::vector<std::uint8_t> texels;
    fillVolumeTexture(1, texels);
    ASSERT_EQ(texels.size(), 64u * 64 * 64 * 4);
    const std::size_t at = 4 * (1 + 64 * 2 + 64 * 64 * 3); // x runs fastest, z slowest
    EXPECT_EQ((std::array<std::uint8_t, 4>{texels[at], texels[at + 1], texels[at + 2], 0}),
              volumeTexel(1, 1, 2, 3));
    fillVolumeTexture(4, texels);
    ASSERT_EQ(texels.size(), 128u * 128 * 128 * 4);
    int highest = 0;
    for (std::size_t i = 0; i < texels.size(); i += 4) {
        highest = std::max<int>(highest, texels[i]);
        ASSERT_EQ(texels[i + 3], 0);
    }
    EXPECT_EQ(highest, 253); // stays below 256
}
