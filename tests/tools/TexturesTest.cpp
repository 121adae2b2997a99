#include "assets/Textures.h"
#include "MeshChecks.h"
#include "assets/TexturesJpeg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace {

const std::vector<std::string> FILES = {"textures/mount.jpg", "textures/wall.jpg",
                                        "textures/box.jpg", "textures/floor.jpg",
                                        "textures/semimount.jpg"};

/// Each shipped texture, generated once per test process.
const RgbImage& texture(const std::string& file) {
    static std::map<std::string, RgbImage> cache;
    const auto found = cache.find(file);
    if (found != cache.end()) {
        return found->second;
    }
    for (const auto& t : generatedTextureFiles()) {
        if (t.fileName == file) {
            return cache[file] = t.build();
        }
    }
    throw std::out_of_range("no texture " + file);
}

double luminance(const RgbImage& image, int x, int y) {
    return 0.299 * image.at(x, y, 0) + 0.587 * image.at(x, y, 1) + 0.114 * image.at(x, y, 2);
}

/// Mean absolute channel difference between the line of pixels from (x0, y0) and the one from
/// (x1, y1), both running along x (rows) or along y (columns) through the whole image.
double lineDifference(const RgbImage& image, int x0, int y0, int x1, int y1, bool alongX) {
    const int n = alongX ? image.width : image.height;
    double sum = 0;
    for (int k = 0; k < n; ++k) {
        for (int c = 0; c < 3; ++c) {
            sum += std::abs(image.at(x0 + (alongX ? k : 0), y0 + (alongX ? 0 : k), c) -
                            image.at(x1 + (alongX ? k : 0), y1 + (alongX ? 0 : k), c));
        }
    }
    return sum / (3.0 * n);
}

struct Seam {
    double across = 0;  ///< difference between the last and the first column (or row)
    double inside = 0;  ///< mean difference between neighbouring columns (or rows) inside
    double largest = 0; ///< largest such difference inside
};

/// Compares the seam between two copies of image side by side (columns) or stacked (rows).
Seam seam(const RgbImage& image, bool columns) {
    const int n = columns ? image.width : image.height;
    Seam s;
    for (int i = 0; i + 1 < n; ++i) {
        const double d = columns ? lineDifference(image, i, 0, i + 1, 0, false)
                                 : lineDifference(image, 0, i, 0, i + 1, true);
        s.inside += d / (n - 1);
        s.largest = std::max(s.largest, d);
    }
    s.across = columns ? lineDifference(image, n - 1, 0, 0, 0, false)
                       : lineDifference(image, 0, n - 1, 0, 0, true);
    return s;
}

/// Whether the seams look like any other pair of neighbouring columns and rows.
bool tiles(const RgbImage& image) {
    for (bool columns : {true, false}) {
        const Seam s = seam(image, columns);
        if (s.across > 1.5 * s.inside + 1.0 || s.across > s.largest) {
            return false;
        }
    }
    return true;
}

struct Stats {
    double mean = 0, deviation = 0;
    double red = 0, green = 0, blue = 0;
    double clipped = 0; ///< share of channel values at 0 or 255
};

Stats stats(const RgbImage& image) {
    Stats s;
    const double n = double(image.width) * image.height;
    double squares = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const double l = luminance(image, x, y);
            s.mean += l / n;
            squares += l * l / n;
            s.red += image.at(x, y, 0) / n;
            s.green += image.at(x, y, 1) / n;
            s.blue += image.at(x, y, 2) / n;
            for (int c = 0; c < 3; ++c) {
                s.clipped += (image.at(x, y, c) == 0 || image.at(x, y, c) == 255) / (3 * n);
            }
        }
    }
    s.deviation = std::sqrt(std::max(0.0, squares - s.mean * s.mean));
    return s;
}

/// Mean absolute difference over all channel values of two images of one size.
double difference(const RgbImage& a, const RgbImage& b) {
    double total = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        total += std::abs(int(a.pixels[i]) - int(b.pixels[i]));
    }
    return total / double(a.pixels.size());
}

/// The columns [0, width) of image.
RgbImage cropped(const RgbImage& image, int width) {
    RgbImage out(width, image.height);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                out.pixels[(std::size_t(y) * width + x) * 3 + c] = image.at(x, y, c);
            }
        }
    }
    return out;
}

TEST(Textures, TableListsTheGameTexturesInLoadOrder) {
    const auto& files = generatedTextureFiles();
    ASSERT_EQ(files.size(), FILES.size());
    for (std::size_t i = 0; i < FILES.size(); ++i) {
        EXPECT_EQ(files[i].fileName, FILES[i]);
    }
}

class EachTexture : public ::testing::TestWithParam<std::string> {};

TEST_P(EachTexture, HasTheShippedSize) {
    const RgbImage& image = texture(GetParam());
    EXPECT_EQ(image.width, TEXTURE_SIZE);
    EXPECT_EQ(image.height, TEXTURE_SIZE);
    EXPECT_EQ(image.pixels.size(), std::size_t(TEXTURE_SIZE) * TEXTURE_SIZE * 3);
}

TEST_P(EachTexture, HasRealVariationAndSensibleBrightness) {
    const Stats s = stats(texture(GetParam()));
    EXPECT_GT(s.mean, 70);
    EXPECT_LT(s.mean, 215);
    EXPECT_GT(s.deviation, 3.0);
    EXPECT_LT(s.deviation, 60.0);
    EXPECT_LT(s.clipped, 0.001); // no burnt-out or black areas
}

TEST_P(EachTexture, TilesSeamlessly) {
    const RgbImage& image = texture(GetParam());
    for (bool columns : {true, false}) {
        SCOPED_TRACE(columns ? "left and right" : "top and bottom");
        const Seam s = seam(image, columns);
        EXPECT_LE(s.across, 1.5 * s.inside + 1.0);
        EXPECT_LE(s.across, s.largest);
    }
    // The same texture cut off inside its pattern no longer matches across its edges.
    EXPECT_FALSE(tiles(cropped(image, image.width * 7 / 10)));
}

TEST_P(EachTexture, IsDeterministic) {
    for (const auto& t : generatedTextureFiles()) {
        if (t.fileName == GetParam()) {
            EXPECT_TRUE(t.build().pixels == texture(GetParam()).pixels);
        }
    }
}

/// Largest difference between the mean colours of matching 8 x 8 blocks of two images.
double blockDifference(const RgbImage& a, const RgbImage& b) {
    double largest = 0;
    for (int by = 0; by + 8 <= a.height; by += 8) {
        for (int bx = 0; bx + 8 <= a.width; bx += 8) {
            for (int c = 0; c < 3; ++c) {
                double sum = 0;
                for (int y = by; y < by + 8; ++y) {
                    for (int x = bx; x < bx + 8; ++x) {
                        sum += a.at(x, y, c) - b.at(x, y, c);
                    }
                }
                largest = std::max(largest, std::abs(sum) / 64);
            }
        }
    }
    return largest;
}

TEST_P(EachTexture, SurvivesTheJpegRoundTrip) {
    const RgbImage& image = texture(GetParam());
    const meshcheck::ScratchDir dir("texture-jpeg");
    const std::string path = dir.file("t.jpg");
    std::string error;
    ASSERT_TRUE(writeJpeg(path, image, &error)) << error;
    RgbImage loaded;
    ASSERT_TRUE(loadRgbImage(path, loaded, &error)) << error;
    ASSERT_EQ(loaded.width, image.width);
    ASSERT_EQ(loaded.height, image.height);
    EXPECT_LT(blockDifference(image, loaded), 6.0);
    const Stats before = stats(image), after = stats(loaded);
    EXPECT_NEAR(after.mean, before.mean, 1.0);
    EXPECT_NEAR(after.deviation, before.deviation, 0.15 * before.deviation);
    EXPECT_TRUE(tiles(loaded));
}

INSTANTIATE_TEST_SUITE_P(Textures, EachTexture, ::testing::ValuesIn(FILES), [](const auto& info) {
    std::string name = info.param.substr(9); // after "textures/"
    return name.substr(0, name.find('.'));
});

TEST(Textures, LookLikeTheirMaterials) {
    const Stats mount = stats(texture("textures/mount.jpg"));
    const Stats wall = stats(texture("textures/wall.jpg"));
    const Stats box = stats(texture("textures/box.jpg"));
    const Stats floor = stats(texture("textures/floor.jpg"));
    const Stats light = stats(texture("textures/semimount.jpg"));
    // Metals are grey with a cool cast; the light one is clearly brighter and calmer.
    for (const Stats* metal : {&mount, &light}) {
        EXPECT_LE(metal->red, metal->blue);
        EXPECT_LT(metal->blue - metal->red, 20);
    }
    EXPECT_GT(light.mean, mount.mean + 30);
    EXPECT_LT(light.deviation, mount.deviation);
    // Wood is brown: red well above blue.
    EXPECT_GT(box.red, box.blue + 50);
    // Stone and tiles are warm greys, with joints that make them far less even than metal.
    for (const Stats* stone : {&wall, &floor}) {
        EXPECT_GE(stone->red, stone->blue);
        EXPECT_LT(stone->red - stone->blue, 30);
        EXPECT_GT(stone->deviation, 2 * light.deviation);
    }
    EXPECT_GT(floor.mean, wall.mean); // polished tiles are lighter than the stone wall
}

TEST(Textures, TheSeamCheckCatchesEdgesThatDoNotMeet) {
    RgbImage ramp(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            for (int c = 0; c < 3; ++c) {
                ramp.pixels[(std::size_t(y) * 64 + x) * 3 + c] = std::uint8_t(x * 4);
            }
        }
    }
    EXPECT_FALSE(tiles(ramp));
    EXPECT_TRUE(tiles(makeStoneWall(64)));
}

TEST(Textures, OtherSizesWorkAndTinyOnesAreRefused) {
    using Maker = RgbImage (*)(int);
    for (Maker make : {Maker(makeBrushedMetal), Maker(makeStoneWall), Maker(makeCrate),
                       Maker(makeFloorTiles), Maker(makeLightMetal)}) {
        const RgbImage small = make(128);
        EXPECT_EQ(small.width, 128);
        EXPECT_EQ(small.height, 128);
        EXPECT_GT(stats(small).deviation, 2.0);
        EXPECT_TRUE(tiles(small));
        EXPECT_NO_THROW(make(MIN_TEXTURE_SIZE));
        EXPECT_THROW(make(MIN_TEXTURE_SIZE - 1), std::invalid_argument);
        EXPECT_THROW(make(0), std::invalid_argument);
        EXPECT_THROW(make(-512), std::invalid_argument);
    }
}

TEST(Textures, TexturesDifferFromEachOther) {
    const std::vector<RgbImage> small = {makeBrushedMetal(64), makeStoneWall(64), makeCrate(64),
                                         makeFloorTiles(64), makeLightMetal(64)};
    for (std::size_t i = 0; i < small.size(); ++i) {
        for (std::size_t j = i + 1; j < small.size(); ++j) {
            EXPECT_GT(difference(small[i], small[j]), 5.0) << FILES[i] << " " << FILES[j];
        }
    }
}

} // namespace
