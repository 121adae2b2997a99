#include "assets/TexturesJpeg.h"
#include "MeshChecks.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

const ScratchDir& scratch() {
    static const ScratchDir dir("textures");
    return dir;
}

/// Red top half, blue bottom half, and a white square in the top left corner.
RgbImage orientationCard() {
    RgbImage image(64, 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            std::uint8_t* p = &image.pixels[(std::size_t(y) * 64 + x) * 3];
            const bool corner = x < 16 && y < 16;
            p[0] = corner || y < 24 ? 220 : 20;
            p[1] = corner ? 220 : 20;
            p[2] = corner || y >= 24 ? 220 : 20;
        }
    }
    return image;
}

TEST(TexturesJpeg, KeepsRowsTopDownAndColoursAndReplacesOldFiles) {
    const std::string path = scratch().file("card.jpg");
    std::ofstream(path) << "old content";
    ASSERT_TRUE(writeJpeg(path, orientationCard()));
    RgbImage loaded;
    ASSERT_TRUE(loadRgbImage(path, loaded));
    ASSERT_EQ(loaded.width, 64);
    ASSERT_EQ(loaded.height, 48);
    const auto near = [&](int x, int y, int r, int g, int b) {
        EXPECT_NEAR(loaded.at(x, y, 0), r, 12) << x << "," << y;
        EXPECT_NEAR(loaded.at(x, y, 1), g, 12) << x << "," << y;
        EXPECT_NEAR(loaded.at(x, y, 2), b, 12) << x << "," << y;
    };
    near(4, 4, 220, 220, 220); // the corner square: first rows, first columns
    near(50, 8, 220, 20, 20);  // red on top
    near(8, 40, 20, 20, 220);  // blue below
}

TEST(TexturesJpeg, RefusesBadImagesQualitiesAndFiles) {
    const std::string path = scratch().file("bad.jpg");
    std::string error;
    RgbImage shortImage(4, 4);
    shortImage.pixels.pop_back();
    EXPECT_FALSE(writeJpeg(path, shortImage, &error));
    EXPECT_NE(error.find("47 bytes"), std::string::npos) << error;
    EXPECT_FALSE(writeJpeg(path, orientationCard(), &error, MAX_JPEG_QUALITY + 1));
    EXPECT_NE(error.find("quality"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(path));
    RgbImage image = orientationCard();
    EXPECT_FALSE(loadRgbImage(scratch().file("absent.jpg"), image, &error));
    EXPECT_NE(error.find("absent.jpg"), std::string::npos) << error;
    std::ofstream(path) << "this is not a picture at all";
    EXPECT_FALSE(loadRgbImage(path, image, &error));
    EXPECT_EQ(image.width, 64); // untouched
    // Failures leave no stale errors behind to spoil the next call.
    EXPECT_TRUE(writeJpeg(path, orientationCard(), &error)) << error;
    EXPECT_TRUE(loadRgbImage(path, image, &error)) << error;
}

} // namespace
