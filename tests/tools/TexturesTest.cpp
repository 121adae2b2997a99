#include "assets/Textures.h"
#include "assets/TexturesJpeg.h"
#include "render/Textures.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

/// Mean absolute channel difference between column (or row) a and b of the image.
double lineDifference(const RgbImage& image, int a, int b, bool columns) {
    const int n = columns ? image.height : image.width;
    double sum = 0;
    for (int k = 0; k < n; ++k) {
        for (int c = 0; c < 3; ++c) {
            sum += std::abs(columns ? image.at(a, k, c) - image.at(b, k, c)
                                    : image.at(k, a, c) - image.at(k, b, c));
        }
    }
    return sum / (3.0 * n);
}

/// Whether the picture repeats seamlessly: the step from its last column (row) to its first is
/// no larger than the steps between neighbouring columns (rows) inside it.
bool tiles(const RgbImage& image) {
    for (const bool columns : {true, false}) {
        const int n = columns ? image.width : image.height;
        double inside = 0, largest = 0;
        for (int i = 0; i + 1 < n; ++i) {
            const double d = lineDifference(image, i, i + 1, columns);
            inside += d / (n - 1);
            largest = std::max(largest, d);
        }
        const double across = lineDifference(image, n - 1, 0, columns);
        if (across > 1.5 * inside + 1.0 || across > largest) {
            return false;
        }
    }
    return true;
}

/// Mean and deviation of all channel values.
std::pair<double, double> meanAndDeviation(const RgbImage& image) {
    double sum = 0, squares = 0;
    for (const std::uint8_t v : image.pixels) {
        sum += v;
        squares += double(v) * v;
    }
    const double n = double(image.pixels.size()), mean = sum / n;
    return {mean, std::sqrt(std::max(0.0, squares / n - mean * mean))};
}

const ScratchDir& scratch() {
    static const ScratchDir dir("textures");
    return dir;
}

/// Red top half, blue bottom half, and a white square in the top left corner.
RgbImage orientationCard() {
    RgbImage image(64, 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 64; ++x) {
            for (int c = 0; c < 3; ++c) {
                const bool lit = (x < 16 && y < 16) || (c == 0 && y < 24) || (c == 2 && y >= 24);
                image.pixels[(std::size_t(y) * 64 + x) * 3 + c] = lit ? 220 : 20;
            }
        }
    }
    return image;
}

TEST(Textures, EveryGameTextureTilesAndIsWrittenAndReadAsJpegOfItsSize) {
    // Exactly the files the game loads, in the order of its texture table.
    ASSERT_EQ(generatedTextureFiles().size(), std::size(IMAGE_TEXTURE_FILES));
    for (std::size_t i = 0; i < generatedTextureFiles().size(); ++i) {
        const GeneratedTexture& t = generatedTextureFiles()[i];
        SCOPED_TRACE(t.fileName);
        EXPECT_EQ(t.fileName, IMAGE_TEXTURE_FILES[i]);
        const RgbImage image = t.build();
        EXPECT_EQ(image.width, TEXTURE_SIZE);
        EXPECT_EQ(image.height, TEXTURE_SIZE);
        EXPECT_TRUE(t.build().pixels == image.pixels); // the same every time
        const auto [mean, deviation] = meanAndDeviation(image);
        EXPECT_GT(mean, 70); // neither dark nor burnt out, and not flat
        EXPECT_LT(mean, 215);
        EXPECT_GT(deviation, 3.0);
        EXPECT_TRUE(tiles(image));

        const std::string path = scratch().file("t.jpg");
        std::string error;
        ASSERT_TRUE(writeJpeg(path, image, &error)) << error;
        RgbImage loaded;
        ASSERT_TRUE(loadRgbImage(path, loaded, &error)) << error;
        ASSERT_EQ(loaded.width, image.width);
        ASSERT_EQ(loaded.height, image.height);
        EXPECT_NEAR(meanAndDeviation(loaded).first, mean, 1.0);
        EXPECT_TRUE(tiles(loaded));
    }
}

TEST(Textures, OtherSizesTileAndTinyOnesAreRefused) {
    const RgbImage small = makeStoneWall(128);
    EXPECT_EQ(small.width, 128);
    EXPECT_TRUE(tiles(small));
    EXPECT_NO_THROW(makeCrate(MIN_TEXTURE_SIZE));
    EXPECT_THROW(makeCrate(MIN_TEXTURE_SIZE - 1), std::invalid_argument);
    EXPECT_THROW(makeFloorTiles(-512), std::invalid_argument);
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
