// The generated pictures and image fonts: the files the interface loads, their format, sizes and
// the properties the interface relies on.

#include "UiSupport.h"
#include "assets/ImagesIcons.h"
#include "assets/PixelFont.h"
#include "ui/UserInterface.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace {

using uitest::ScratchDir;

const RgbaImage& picture(const std::string& fileName) {
    static std::map<std::string, RgbaImage> built;
    const auto found = built.find(fileName);
    if (found != built.end()) {
        return found->second;
    }
    for (const GeneratedImage& g : generatedImageFiles()) {
        if (g.fileName == fileName) {
            return built[fileName] = g.build();
        }
    }
    throw std::runtime_error("not generated: " + fileName);
}

bool sameColour(const RgbaImage& image, int x, int y, const Rgba& c) {
    return image.at(x, y, 0) == c.r && image.at(x, y, 1) == c.g && image.at(x, y, 2) == c.b &&
           image.at(x, y, 3) == c.a;
}

struct GlyphBox {
    int x, width;
};

/// Reads a font picture the way an image font does: the top left pixel is the separator colour,
/// the glyph height runs down the first glyph column to the next separator pixel (or the bottom)
/// and the glyphs are the runs of non-separator columns in the top row.
std::vector<GlyphBox> scanFont(const RgbaImage& font, int& height) {
    const Rgba separator{float(font.at(0, 0, 0)), float(font.at(0, 0, 1)), float(font.at(0, 0, 2)),
                         float(font.at(0, 0, 3))};
    std::vector<GlyphBox> boxes;
    int x = 0;
    while (x < font.width && sameColour(font, x, 0, separator)) {
        ++x;
    }
    height = 0;
    while (x < font.width && height < font.height && !sameColour(font, x, height, separator)) {
        ++height;
    }
    while (x < font.width) {
        if (sameColour(font, x, 0, separator)) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < font.width && !sameColour(font, x, 0, separator)) {
            ++x;
        }
        boxes.push_back({start, x - start});
    }
    return boxes;
}

/// Width of text in an image font with the given glyph spacing, as Guichan measures it.
int fontTextWidth(const RgbaImage& font, const std::string& glyphs, const std::string& text,
                  int spacing) {
    int height = 0;
    const std::vector<GlyphBox> boxes = scanFont(font, height);
    // The spacing goes between glyphs only.
    int width = text.empty() ? 0 : -spacing;
    for (char c : text) {
        const std::size_t i = glyphs.find(c);
        EXPECT_NE(i, std::string::npos) << "no glyph '" << c << "' for \"" << text << "\"";
        if (i != std::string::npos) {
            width += boxes.at(i).width + spacing;
        }
    }
    return width;
}

// Every text the interface shows in the counter field: the captions the commands set, the
// counter switches' descriptions and the counters.
const char* const FIELD_TEXTS[] = {"WIREFRAME MODE ON",
                                   "WIREFRAME MODE OFF",
                                   "BILINEAR TEXTURING",
                                   "NEAREST NEIGHBOR TEXTURING",
                                   "MIP MAPPING: NEAREST NEIGHBOR",
                                   "MIP MAPPING: LINEAR",
                                   "MIP MAPPING: OFF",
                                   "VIEW FRUSTUM CULLING ON",
                                   "VIEW FRUSTUM CULLING OFF",
                                   "BOUNDING SPHERES ON",
                                   "BOUNDING SPHERES OFF",
                                   "TRANSPARENCY ON",
                                   "TRANSPARENCY OFF",
                                   "MUSIC ON",
                                   "MUSIC OFF",
                                   "LASER POWER ON",
                                   "LASER POWER OFF",
                                   "EXIT BEAMWORKS",
                                   "WINDOW MODE",
                                   "FULLSCREEN MODE",
                                   "LIGHT ON",
                                   "LIGHT OFF",
                                   "MIRRORING OFF",
                                   "MIRRORING DEPTH 1",
                                   "MIRRORING DEPTH 2",
                                   "SHOW FPS",
                                   "SHOW LASER COUNT",
                                   "FPS: 000",
                                   "LASER COUNT: 00000"};

TEST(GeneratedPictures, AreExactlyTheFilesTheInterfaceLoads) {
    std::set<std::string> generated;
    for (const GeneratedImage& g : generatedImageFiles()) {
        EXPECT_TRUE(generated.insert(g.fileName).second) << "twice: " << g.fileName;
    }
    const std::set<std::string> loaded(interfacePictureFiles().begin(),
                                       interfacePictureFiles().end());
    EXPECT_EQ(generated, loaded);
    EXPECT_EQ(loaded.size(), interfacePictureFiles().size());
}

TEST(GeneratedPictures, AreStagedByTheBuild) {
    std::ifstream in(std::string(BEAMWORKS_SOURCE_DIR) + "/tools/CMakeLists.txt");
    const std::string cmake((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(cmake.empty());
    for (const GeneratedImage& g : generatedImageFiles()) {
        EXPECT_NE(cmake.find(" " + g.fileName), std::string::npos) << g.fileName;
    }
}

TEST(GeneratedPictures, AreEightBitRgbaPngsThatReadBackUnchanged) {
    const ScratchDir dir("png");
    uitest::writeAllPictures(dir);
    for (const GeneratedImage& g : generatedImageFiles()) {
        std::ifstream in(dir.file(g.fileName), std::ios::binary);
        unsigned char header[26] = {};
        in.read(reinterpret_cast<char*>(header), sizeof header);
        ASSERT_TRUE(in) << g.fileName;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(header) + 1, 3), "PNG") << g.fileName;
        EXPECT_EQ(header[24], 8) << g.fileName << ": bit depth";
        EXPECT_EQ(header[25], 6) << g.fileName << ": colour type (6 = RGBA)";
        RgbaImage read;
        std::string error;
        ASSERT_TRUE(loadRgbaImage(dir.file(g.fileName), read, &error)) << error;
        const RgbaImage& made = picture(g.fileName);
        EXPECT_EQ(read.width, made.width) << g.fileName;
        EXPECT_EQ(read.height, made.height) << g.fileName;
        EXPECT_TRUE(read.pixels == made.pixels) << g.fileName;
    }
}

TEST(GeneratedPictures, HaveTheSizesTheLayoutIsBuiltOn) {
    struct Size {
        const char* file;
        int w, h;
    };
    const Size sizes[] = {
        {"images/poweron.png", 124, 100},      {"images/poweroff.png", 124, 100},
        {"images/smallbuttonon.png", 66, 100}, {"images/smallbuttonoff.png", 66, 100},
        {"images/powernormal.png", 106, 48},   {"images/powerhighlight.png", 106, 48},
        {"images/energyback.png", 260, 100},   {"images/energylevel.png", 250, 100},
        {"images/energyborder.png", 260, 100}, {"images/debugfield.png", 350, 100},
        {"images/menuline.png", 64, 100},      {"images/debugline.png", 64, 100},
    };
    for (const Size& s : sizes) {
        EXPECT_EQ(picture(s.file).width, s.w) << s.file;
        EXPECT_EQ(picture(s.file).height, s.h) << s.file;
    }
    for (const std::string& id : switchIds()) {
        if (id != "power") {
            EXPECT_EQ(picture("images/" + id + "normal.png").width, BUTTON_SIZE) << id;
            EXPECT_EQ(picture("images/" + id + "highlight.png").height, BUTTON_SIZE) << id;
        }
    }
    // The button (at 9, 43) fits on its plate.
    EXPECT_LE(BUTTON_X + BUTTON_SIZE, SMALL_SWITCH_WIDTH - BUTTON_X);
    EXPECT_LE(BUTTON_X + POWER_BUTTON_WIDTH, POWER_SWITCH_WIDTH - BUTTON_X);
    EXPECT_LE(BUTTON_Y + BUTTON_SIZE, BAR_PICTURE_HEIGHT);
}

TEST(GeneratedPictures, EverySwitchLooksDifferentOnOffNormalAndHighlighted) {
    EXPECT_NE(picture("images/smallbuttonon.png").pixels,
              picture("images/smallbuttonoff.png").pixels);
    EXPECT_NE(picture("images/poweron.png").pixels, picture("images/poweroff.png").pixels);
    std::set<std::vector<std::uint8_t>> faces;
    for (const std::string& id : switchIds()) {
        const RgbaImage& normal = picture("images/" + id + "normal.png");
        const RgbaImage& highlight = picture("images/" + id + "highlight.png");
        EXPECT_NE(normal.pixels, highlight.pixels) << id;
        EXPECT_TRUE(faces.insert(normal.pixels).second) << id << " looks like another switch";
    }
    EXPECT_THROW(makeButtonFace("nosuchswitch", false), std::invalid_argument);
    EXPECT_FALSE(hasIcon("nosuchswitch"));
}

TEST(GeneratedPictures, ContainNoMagentaWhichGuichanWouldMakeTransparent) {
    for (const GeneratedImage& g : generatedImageFiles()) {
        const RgbaImage& image = picture(g.fileName);
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                ASSERT_FALSE(sameColour(image, x, y, Rgba{255, 0, 255, 255}))
                    << g.fileName << " at " << x << ", " << y;
            }
        }
    }
}

TEST(GeneratedPictures, PlatesLeaveTheRowsAboveThemClear) {
    for (const char* file : {"images/smallbuttonon.png", "images/poweroff.png",
                             "images/debugfield.png", "images/energyborder.png"}) {
        const RgbaImage& image = picture(file);
        for (int y = 0; y < PLATE_TOP - 2; ++y) {
            for (int x = 0; x < image.width; ++x) {
                ASSERT_EQ(image.at(x, y, 3), 0) << file << " at " << x << ", " << y;
            }
        }
        // ... and are solid where the plate is.
        EXPECT_EQ(image.at(image.width / 2, PLATE_TOP + 4, 3), 255) << file;
    }
}

TEST(GeneratedPictures, EnergyBarShowsTheLevelAtBothEndsOfItsWindow) {
    const RgbaImage& border = picture("images/energyborder.png");
    const RgbaImage& level = picture("images/energylevel.png");
    const int row = (GAUGE_TOP + GAUGE_BOTTOM) / 2;
    // The border is open over the whole window (x 5 to 254 of the bar)...
    for (int x : {5, 6, 7, 100, 252, 253, 254}) {
        EXPECT_EQ(border.at(x, row, 3), 0) << x;
    }
    EXPECT_EQ(border.at(4, row, 3), 255); // the frame
    EXPECT_EQ(border.at(255, row, 3), 255);
    // ... so the three columns of the level that stay at 0 energy are bright and opaque.
    for (int x = level.width - 3; x < level.width; ++x) {
        EXPECT_EQ(level.at(x, row, 3), 255);
        EXPECT_GT(level.at(x, row, 0) + level.at(x, row, 1) + level.at(x, row, 2), 600);
    }
    // The bar itself is a solid cyan band.
    EXPECT_EQ(level.at(100, row, 3), 255);
    EXPECT_GT(level.at(100, row, 2), level.at(100, row, 0));
}

TEST(ImageFonts, HoldExactlyTheirGlyphsInOrder) {
    struct Font {
        const char* file;
        std::string glyphs;
        const FontStyle& style;
    };
    const Font fonts[] = {
        {"images/ea030.png", UserInterface::SMALL_FONT_GLYPHS, smallFontStyle()},
        {"images/ea030h.png", UserInterface::SMALL_FONT_GLYPHS, highlightFontStyle()},
        {"images/ea105.png", UserInterface::LARGE_FONT_GLYPHS, largeFontStyle()}};
    for (const Font& f : fonts) {
        const RgbaImage& image = picture(f.file);
        EXPECT_TRUE(sameColour(image, 0, 0, FONT_SEPARATOR)) << f.file;
        int height = 0;
        const std::vector<GlyphBox> boxes = scanFont(image, height);
        EXPECT_EQ(height, image.height) << f.file;
        EXPECT_EQ(height,
                  f.style.padTop + pixelfont::GLYPH_ROWS * f.style.scale + f.style.padBottom);
        ASSERT_EQ(boxes.size(), f.glyphs.size()) << f.file;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const char c = f.glyphs[i];
            const int columns = pixelfont::glyphColumns(c);
            EXPECT_EQ(boxes[i].width, f.style.padLeft + columns * f.style.scale + f.style.padRight)
                << f.file << " '" << c << "'";
            // The centre of every font pixel is lit exactly where the glyph has a pixel.
            for (int row = 0; row < pixelfont::GLYPH_ROWS; ++row) {
                for (int column = 0; column < columns; ++column) {
                    const int x =
                        boxes[i].x + f.style.padLeft + column * f.style.scale + f.style.scale / 2;
                    const int y = f.style.padTop + row * f.style.scale + f.style.scale / 2;
                    const bool lit =
                        image.at(x, y, 3) == 255 &&
                        image.at(x, y, 0) + image.at(x, y, 1) + image.at(x, y, 2) > 300;
                    EXPECT_EQ(lit, pixelfont::glyphPixel(c, column, row))
                        << f.file << " '" << c << "' at " << column << ", " << row;
                }
            }
        }
    }
}

TEST(ImageFonts, TheGeneratorAndTheInterfaceAgreeOnTheGlyphs) {
    EXPECT_STREQ(SMALL_FONT_GLYPHS, " ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890.:-,!/()");
    EXPECT_STREQ(LARGE_FONT_GLYPHS, " ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890.:-_,!/()");
    EXPECT_STREQ(UserInterface::SMALL_FONT_GLYPHS, SMALL_FONT_GLYPHS);
    EXPECT_STREQ(UserInterface::LARGE_FONT_GLYPHS, LARGE_FONT_GLYPHS);
}

TEST(ImageFonts, RejectACharacterThePixelFontLacks) {
    EXPECT_THROW(makeImageFont("AB#", smallFontStyle()), std::invalid_argument);
}

TEST(ImageFonts, EveryFieldTextFitsTheCounterDisplay) {
    const RgbaImage& font = picture("images/ea030.png");
    const int display = COUNTER_FIELD_WIDTH - 2 * 14; // the display's inner width
    for (const char* text : FIELD_TEXTS) {
        const int width = fontTextWidth(font, SMALL_FONT_GLYPHS, text, -2);
        EXPECT_GT(width, 0) << text;
        EXPECT_LE(width, display) << text;
    }
}

TEST(ImageFonts, LargeMessagesFitTheWindow) {
    const RgbaImage& font = picture("images/ea105.png");
    for (const char* text : {"LEVEL SOLVED", "GAME OVER"}) {
        const int width = fontTextWidth(font, LARGE_FONT_GLYPHS, text, 0);
        EXPECT_GT(width, 300) << text; // large enough to read at a glance
        EXPECT_LT(width, 800) << text;
    }
}

} // namespace
