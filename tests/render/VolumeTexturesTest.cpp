#include "render/VolumeTextures.h"

#include <gtest/gtest.h>

namespace {

int grey(int index, int x, int y, int z) {
    return volumeTexel(index, x, y, z)[0];
}

} // namespace

TEST(VolumeTextures, SizesAndIndexBoundary) {
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(volumeTextureSize(i), 64);
    }
    EXPECT_EQ(volumeTextureSize(4), 128);
    EXPECT_EQ(volumeTextureSize(5), 128);
}

TEST(VolumeTextures, KnownTexels) {
    EXPECT_EQ(grey(0, 0, 0, 0), 30);
    EXPECT_EQ(grey(0, 63, 63, 63), 219);
    EXPECT_EQ(grey(3, 0, 0, 0), 0);
    EXPECT_EQ(grey(3, 4, 0, 0), 255);
    EXPECT_EQ(grey(3, 4, 4, 0), 0);
    EXPECT_EQ(grey(4, 64, 0, 64), 0);
    EXPECT_EQ(grey(4, 0, 127, 0), 253);
    EXPECT_EQ(volumeTexel(1, 1, 2, 3), (std::array<std::uint8_t, 4>{12, 8, 4, 0}));
    EXPECT_EQ(volumeTexel(2, 30, 20, 10),
              (std::array<std::uint8_t, 4>{240, 400 % 256, 320 % 256, 0}));
    EXPECT_EQ(volumeTexel(5, 0, 0, 127), (std::array<std::uint8_t, 4>{63, 63, 254, 0}));
}

TEST(VolumeTextures, FillRunsXFastestAndStaysBelow256) {
    std::vector<std::uint8_t> texels;
    fillVolumeTexture(0, texels);
    ASSERT_EQ(texels.size(), 64u * 64 * 64 * 4);
    EXPECT_EQ(texels[4], 31);           // (1, 0, 0)
    EXPECT_EQ(texels[4 * 64], 31);      // (0, 1, 0)
    EXPECT_EQ(texels[4 * 64 * 64], 31); // (0, 0, 1)
    fillVolumeTexture(4, texels);
    ASSERT_EQ(texels.size(), 128u * 128 * 128 * 4);
    int highest = 0;
    for (std::size_t i = 0; i < texels.size(); i += 4) {
        highest = std::max<int>(highest, texels[i]);
        ASSERT_EQ(texels[i + 3], 0);
    }
    EXPECT_EQ(highest, 253); // at the corners farthest from the middle of the y = 0 face
}
