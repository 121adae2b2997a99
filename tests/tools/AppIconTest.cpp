// The desktop icon: one picture per installed size, legible at the smallest.

#include "assets/ImagesAppIcon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

int brightness(const RgbaImage& image, float fx, float fy) {
    const int x = int(fx * float(image.width)), y = int(fy * float(image.height));
    return (image.at(x, y, 0) + image.at(x, y, 1) + image.at(x, y, 2)) / 3;
}

} // namespace

TEST(AppIcon, EachInstalledSizeIsASquareOfItsOwnSizeWithTransparentCorners) {
    ASSERT_EQ(generatedIconFiles().size(), 3u);
    for (const GeneratedImage& icon : generatedIconFiles()) {
        const RgbaImage image = icon.build();
        SCOPED_TRACE(icon.fileName);
        EXPECT_EQ(icon.fileName, "icons/beamworks" + std::to_string(image.width) + ".png");
        EXPECT_EQ(image.height, image.width);
        const int last = image.width - 1;
        for (const auto& [x, y] : {std::pair{0, 0}, {last, 0}, {0, last}, {last, last}}) {
            EXPECT_EQ(image.at(x, y, 3), 0) << x << "," << y;
        }
        EXPECT_EQ(image.at(last / 2, last / 2, 3), 255);
    }
}

TEST(AppIcon, TheBeamStandsOutOfTheDarkBackgroundEvenAtTheSmallestSize) {
    for (int size : {APP_ICON_MIN_SIZE, 48, 256}) {
        SCOPED_TRACE(size);
        const RgbaImage image = makeAppIcon(size);
        // The incoming beam near the left edge, and the spot where it strikes the pane.
        EXPECT_GT(brightness(image, 0.15f, APP_ICON_HIT_Y), 200);
        EXPECT_GT(brightness(image, APP_ICON_HIT_X, APP_ICON_HIT_Y), 230);
        // The background in the lower left, below the beam and left of the pane.
        EXPECT_LT(brightness(image, 0.15f, 0.9f), 40);
        // The reflected beam leaves through the top edge, right of the hit point.
        int brightestTop = 0;
        for (int x = int(APP_ICON_HIT_X * size); x < size; ++x) {
            brightestTop = std::max(brightestTop, brightness(image, float(x) / size, 0.1f));
        }
        EXPECT_GT(brightestTop, 200);
    }
}

TEST(AppIcon, RefusesASizeTooSmallToShowAnything) {
    EXPECT_THROW(makeAppIcon(APP_ICON_MIN_SIZE - 1), std::invalid_argument);
    EXPECT_THROW(makeAppIcon(0), std::invalid_argument);
    EXPECT_THROW(makeAppIcon(-48), std::invalid_argument);
}
