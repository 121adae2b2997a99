// The desktop icon: one picture per installed size, legible at the smallest.

#include "assets/ImagesAppIcon.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

int brightness(const RgbaImage& image, float fx, float fy) {
    const int x = int(fx * float(image.width)), y = int(fy * float(image.height));
    return (image.at(x, y, 0) + image.at(x, y, 1) + image.at(x, y, 2)) / 3;
}

} // namespace

TEST(AppIcon, EachSizeIsASquareWithTransparentCornersAndABeamThatStandsOutDownToTheMinimum) {
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
    EXPECT_THROW(makeAppIcon(APP_ICON_MIN_SIZE - 1), std::invalid_argument);
    EXPECT_THROW(makeAppIcon(-48), std::invalid_argument);
    // The beam stands out of the dark background even at the smallest size.
    for (int size : {APP_ICON_MIN_SIZE, 256}) {
        SCOPED_TRACE(size);
        const RgbaImage image = makeAppIcon(size);
        // The spot where the beam strikes the pane, against the background in the lower left.
        EXPECT_GT(brightness(image, APP_ICON_HIT_X, APP_ICON_HIT_Y), 230);
        EXPECT_LT(brightness(image, 0.15f, 0.9f), 40);
    }
}
