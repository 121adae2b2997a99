#include "render/VolumeTextures.h"

#include <gtest/gtest.h>

#include <algorithm>

// The upload order is x fastest, then y, then z: the texel (1, 2, 3) sits where no other order
// puts it, and the colour cube and the gradient show the order on screen.
TEST(VolumeTextures, AreFilledInUploadOrder) {
    std::vector<std::uint8_t> texels;
    for (int index = 0; index < VOLUME_TEXTURE_COUNT; ++index) {
        fillVolumeTexture(index, texels);
        const std::size_t n = std::size_t(volumeTextureSize(index));
        ASSERT_EQ(texels.size(), n * n * n * 4) << index;
        const auto texel = volumeTexel(index, 1, 2, 3);
        EXPECT_TRUE(
            std::equal(texel.begin(), texel.end(), texels.begin() + 4 * (1 + n * (2 + n * 3))))
            << index;
    }
}
