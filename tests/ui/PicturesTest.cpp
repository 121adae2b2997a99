// The generated pictures and image fonts: the files the interface loads, their format and sizes,
// and the properties of their pixels the interface relies on.

#include "UiSupport.h"
#include "assets/ImagesIcons.h"
#include "ui/EnergyLevel.h"
#include "ui/UserInterface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

namespace {

const RgbaImage& picture(const std::string& fileName) {
    static std::map<std::string, RgbaImage> built;
    if (built.empty()) {
        for (const GeneratedImage& g : generatedImageFiles()) {
            built[g.fileName] = g.build();
        }
    }
    return built.at(fileName);
}

bool isColour(const RgbaImage& image, int x, int y, const Rgba& c) {
    return image.at(x, y, 0) == c.r && image.at(x, y, 1) == c.g && image.at(x, y, 2) == c.b &&
           image.at(x, y, 3) == c.a;
}

/// The glyph widths of a font picture as an image font reads them: runs of columns in the top
/// row that are not the separator colour of the top left pixel.
std::vector<int> glyphWidths(const RgbaImage& font) {
    const Rgba separator{float(font.at(0, 0, 0)), float(font.at(0, 0, 1)), float(font.at(0, 0, 2)),
                         float(font.at(0, 0, 3))};
    std::vector<int> widths;
    for (int x = 0; x < font.width; ++x) {
        if (isColour(font, x, 0, separator)) {
            continue;
        }
        const int start = x;
        while (x < font.width && !isColour(font, x, 0, separator)) {
            ++x;
        }
        widths.push_back(x - start);
    }
    return widths;
}

TEST(GeneratedPictures, AreTheFilesTheInterfaceLoadsReadBackExactlyAndFitTheEnergyBar) {
    std::set<std::string> generated;
    for (const GeneratedImage& g : generatedImageFiles()) {
        EXPECT_TRUE(generated.insert(g.fileName).second) << "twice: " << g.fileName;
    }
    EXPECT_EQ(generated, std::set<std::string>(interfacePictureFiles().begin(),
                                               interfacePictureFiles().end()));

    const ScratchDir dir("png");
    uitest::writeAllPictures(dir);
    for (const GeneratedImage& g : generatedImageFiles()) {
        RgbaImage read;
        std::string error;
        ASSERT_TRUE(loadRgbaImage(dir.file(g.fileName), read, &error)) << error;
        EXPECT_EQ(read.width, picture(g.fileName).width) << g.fileName;
        EXPECT_EQ(read.height, picture(g.fileName).height) << g.fileName;
        EXPECT_TRUE(read.pixels == picture(g.fileName).pixels) << g.fileName;
    }
    // The energy bar's pictures fill the bar; the level picture its window inside the rims.
    for (const char* file : {"images/energyback.png", "images/energyborder.png"}) {
        EXPECT_EQ(picture(file).width, gcn::EnergyLevel::WIDTH) << file;
        EXPECT_EQ(picture(file).height, gcn::EnergyLevel::HEIGHT) << file;
    }
    EXPECT_EQ(picture("images/energylevel.png").width, gcn::EnergyLevel::WIDTH - 10);
}

TEST(GeneratedPictures, NoPixelIsMagentaOrAboveThePlates) {
    // Guichan makes magenta transparent.
    for (const GeneratedImage& g : generatedImageFiles()) {
        const RgbaImage& image = picture(g.fileName);
        for (int i = 0; i < image.width * image.height; ++i) {
            ASSERT_FALSE(isColour(image, i % image.width, i / image.width, {255, 0, 255, 255}))
                << g.fileName;
        }
    }
    // The top bar hangs above the window by the rows above the plates, so those stay clear.
    for (const char* file : {"images/smallbuttonon.png", "images/poweroff.png",
                             "images/debugfield.png", "images/energyborder.png"}) {
        const RgbaImage& image = picture(file);
        for (int y = 0; y < PLATE_TOP - 2; ++y) {
            for (int x = 0; x < image.width; ++x) {
                ASSERT_EQ(image.at(x, y, 3), 0) << file << " at " << x << ", " << y;
            }
        }
        EXPECT_EQ(image.at(image.width / 2, PLATE_TOP + 4, 3), 255) << file;
    }
}

TEST(ImageFonts, HoldOneGlyphForEveryCharacterTheInterfaceNames) {
    struct Font {
        const char* file;
        const char* glyphs;
    };
    for (const Font& f : {Font{"images/ea030.png", UserInterface::SMALL_FONT_GLYPHS},
                          Font{"images/ea030h.png", UserInterface::SMALL_FONT_GLYPHS},
                          Font{"images/ea105.png", UserInterface::LARGE_FONT_GLYPHS}}) {
        const RgbaImage& image = picture(f.file);
        EXPECT_TRUE(isColour(image, 0, 0, FONT_SEPARATOR)) << f.file;
        EXPECT_EQ(glyphWidths(image).size(), std::strlen(f.glyphs)) << f.file;
    }
    EXPECT_THROW(makeImageFont("AB~", smallFontStyle()), std::invalid_argument);
}

} // namespace
