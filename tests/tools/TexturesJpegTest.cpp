#include "assets/TexturesJpeg.h"
#include "MeshChecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace {

const meshcheck::ScratchDir& scratch() {
    static const meshcheck::ScratchDir dir("textures");
    return dir;
}

/// Mean absolute difference over all channel values of two images of one size.
double difference(const RgbImage& a, const RgbImage& b) {
    double total = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        total += std::abs(int(a.pixels[i]) - int(b.pixels[i]));
    }
    return total / double(a.pixels.size());
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

TEST(TexturesJpeg, KeepsRowsTopDownAndColours) {
    const std::string path = scratch().file("card.jpg");
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
    near(50, 40, 20, 20, 220); // blue below
    near(8, 40, 20, 20, 220);
}

TEST(TexturesJpeg, QualityTradesSizeForFidelity) {
    const RgbImage image = makeStoneWall(128);
    const std::string low = scratch().file("low.jpg"), high = scratch().file("high.jpg");
    ASSERT_TRUE(writeJpeg(low, image, nullptr, 20));
    ASSERT_TRUE(writeJpeg(high, image, nullptr, MAX_JPEG_QUALITY));
    RgbImage a, b;
    ASSERT_TRUE(loadRgbImage(low, a));
    ASSERT_TRUE(loadRgbImage(high, b));
    EXPECT_LT(difference(image, b), difference(image, a));
    EXPECT_LT(std::filesystem::file_size(low), std::filesystem::file_size(high));
}

TEST(TexturesJpeg, ReplacesExistingFiles) {
    const std::string path = scratch().file("again.jpg");
    { std::ofstream(path) << "old content"; }
    ASSERT_TRUE(writeJpeg(path, makeLightMetal(32)));
    ASSERT_TRUE(writeJpeg(path, orientationCard()));
    RgbImage loaded;
    ASSERT_TRUE(loadRgbImage(path, loaded));
    EXPECT_EQ(loaded.width, 64);
}

TEST(TexturesJpeg, RefusesBadImagesAndQualities) {
    const std::string path = scratch().file("bad.jpg");
    std::string error;
    EXPECT_FALSE(writeJpeg(path, RgbImage(), &error));
    EXPECT_NE(error.find("0 x 0"), std::string::npos) << error;
    RgbImage shortImage(4, 4);
    shortImage.pixels.pop_back();
    EXPECT_FALSE(writeJpeg(path, shortImage, &error));
    EXPECT_NE(error.find("47 bytes"), std::string::npos) << error;
    for (int quality : {0, -5, MAX_JPEG_QUALITY + 1, 101}) {
        error.clear();
        EXPECT_FALSE(writeJpeg(path, orientationCard(), &error, quality));
        EXPECT_NE(error.find("quality"), std::string::npos) << error;
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(writeJpeg(path, RgbImage())); // no message wanted: still refused
}

TEST(TexturesJpeg, ReportsFilesThatCannotBeWrittenOrRead) {
    const std::string nowhere = scratch().file("missing/dir/t.jpg");
    std::string error;
    EXPECT_FALSE(writeJpeg(nowhere, orientationCard(), &error));
    EXPECT_NE(error.find(nowhere), std::string::npos) << error;

    RgbImage image = orientationCard();
    error.clear();
    EXPECT_FALSE(loadRgbImage(scratch().file("absent.jpg"), image, &error));
    EXPECT_NE(error.find("absent.jpg"), std::string::npos) << error;
    EXPECT_EQ(image.width, 64); // untouched

    const std::string garbage = scratch().file("garbage.jpg");
    std::ofstream(garbage) << "this is not a picture at all";
    EXPECT_FALSE(loadRgbImage(garbage, image, &error));
    EXPECT_EQ(image.width, 64);

    // Failures leave no stale DevIL errors behind to spoil the next call.
    const std::string fine = scratch().file("fine.jpg");
    error.clear();
    EXPECT_TRUE(writeJpeg(fine, orientationCard(), &error)) << error;
    EXPECT_TRUE(loadRgbImage(fine, image, &error)) << error;
}

} // namespace
