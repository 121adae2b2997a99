// The DevIL image loader: decoding to 8-bit RGBA top row first, the console listing, the failure
// message, and the start-up check of every interface picture. No OpenGL: the images are loaded
// without conversion to textures.

#include "UiSupport.h"
#include "ui/DevILImageLoader.h"
#include "ui/UserInterface.h"

#include <IL/il.h>
#include <gtest/gtest.h>
#include <guichan/opengl/openglimage.hpp>

#include <fstream>
#include <memory>

namespace {

using uitest::ScratchDir;

/// Writes a PNG with DevIL straight from bytes, rows from the top.
void writeRaw(const std::string& path, int w, int h, int channels,
              const std::vector<unsigned char>& bytes) {
    ilInit();
    ilEnable(IL_FILE_OVERWRITE);
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    ASSERT_TRUE(ilTexImage(w, h, 1, ILubyte(channels), channels == 3 ? IL_RGB : IL_RGBA,
                           IL_UNSIGNED_BYTE, const_cast<unsigned char*>(bytes.data())));
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    ASSERT_TRUE(ilSave(IL_PNG, path.c_str()));
    ilDeleteImages(1, &name);
}

std::unique_ptr<gcn::OpenGLImage> loadUnconverted(const std::string& path) {
    gcn::DevILImageLoader loader;
    testing::internal::CaptureStdout();
    gcn::Image* image = loader.load(path, false);
    testing::internal::GetCapturedStdout();
    return std::unique_ptr<gcn::OpenGLImage>(dynamic_cast<gcn::OpenGLImage*>(image));
}

void expectColour(gcn::Image& image, int x, int y, int r, int g, int b, int a) {
    const gcn::Color c = image.getPixel(x, y);
    EXPECT_EQ(c.r, r) << "at " << x << ", " << y;
    EXPECT_EQ(c.g, g) << "at " << x << ", " << y;
    EXPECT_EQ(c.b, b) << "at " << x << ", " << y;
    EXPECT_EQ(c.a, a) << "at " << x << ", " << y;
}

// A 3 x 2 picture: red, green, blue on top; white, black, grey below.
const std::vector<unsigned char> RGB_CARD = {255, 0,   0,   0, 255, 0, 0,   0,   255,
                                             255, 255, 255, 0, 0,   0, 128, 128, 128};

TEST(DevILImageLoader, ConvertsAnRgbPictureToOpaqueRgba) {
    const ScratchDir dir("loader");
    writeRaw(dir.file("rgb.png"), 3, 2, 3, RGB_CARD);
    const auto image = loadUnconverted(dir.file("rgb.png"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->getWidth(), 3);
    EXPECT_EQ(image->getHeight(), 2);
    expectColour(*image, 0, 0, 255, 0, 0, 255);
    expectColour(*image, 1, 0, 0, 255, 0, 255);
    expectColour(*image, 2, 0, 0, 0, 255, 255);
    expectColour(*image, 0, 1, 255, 255, 255, 255);
    expectColour(*image, 2, 1, 128, 128, 128, 255);
}

TEST(DevILImageLoader, KeepsTheAlphaOfAnRgbaPicture) {
    const ScratchDir dir("loader");
    writeRaw(dir.file("rgba.png"), 2, 1, 4, {10, 20, 30, 0, 200, 150, 100, 77});
    const auto image = loadUnconverted(dir.file("rgba.png"));
    expectColour(*image, 0, 0, 10, 20, 30, 0);
    expectColour(*image, 1, 0, 200, 150, 100, 77);
}

TEST(DevILImageLoader, DeliversTheTopRowFirstWhateverOriginDevILIsTold) {
    const ScratchDir dir("loader");
    writeRaw(dir.file("rgb.png"), 3, 2, 3, RGB_CARD);
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
    const auto image = loadUnconverted(dir.file("rgb.png"));
    ilDisable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_UPPER_LEFT);
    expectColour(*image, 0, 0, 255, 0, 0, 255);
    expectColour(*image, 0, 1, 255, 255, 255, 255);
}

TEST(DevILImageLoader, ListsEveryLoadedFileOnTheConsole) {
    const ScratchDir dir("loader");
    writeRaw(dir.file("a.png"), 3, 2, 3, RGB_CARD);
    gcn::DevILImageLoader loader;
    testing::internal::CaptureStdout();
    std::unique_ptr<gcn::Image> image(loader.load(dir.file("a.png"), false));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), dir.file("a.png") + "\n");
}

TEST(DevILImageLoader, MissingFileListsItsNameAndThrowsTheLoaderMessage) {
    gcn::DevILImageLoader loader;
    testing::internal::CaptureStdout();
    try {
        std::unique_ptr<gcn::Image> image(loader.load("images/nothing-here.png", false));
        testing::internal::GetCapturedStdout();
        FAIL() << "no exception";
    } catch (const gcn::Exception& e) {
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "images/nothing-here.png\n");
        EXPECT_EQ(e.getMessage(), "Unable to load image file:images/nothing-here.png");
        EXPECT_EQ(e.getFunction(), "gcn::DevILImageLoader::load");
        EXPECT_NE(e.getFilename().find("DevILImageLoader.cpp"), std::string::npos);
    }
}

TEST(DevILImageLoader, FileThatIsNoPictureFailsLikeAMissingOne) {
    const ScratchDir dir("loader");
    std::ofstream(dir.file("text.png")) << "not a picture\n";
    std::vector<unsigned int> pixels;
    int w = -1, h = -1;
    EXPECT_FALSE(gcn::DevILImageLoader::decode(dir.file("text.png"), pixels, w, h));
    EXPECT_EQ(w, -1);
    EXPECT_TRUE(pixels.empty());
    gcn::DevILImageLoader loader;
    testing::internal::CaptureStdout();
    EXPECT_THROW(loader.load(dir.file("text.png"), false), gcn::Exception);
    testing::internal::GetCapturedStdout();
}

TEST(DevILImageLoader, DecodePacksBytesInRgbaMemoryOrder) {
    const ScratchDir dir("loader");
    writeRaw(dir.file("rgba.png"), 1, 1, 4, {1, 2, 3, 4});
    std::vector<unsigned int> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(gcn::DevILImageLoader::decode(dir.file("rgba.png"), pixels, w, h));
    ASSERT_EQ(pixels.size(), 1u);
    const auto* bytes = reinterpret_cast<const unsigned char*>(pixels.data());
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 2);
    EXPECT_EQ(bytes[2], 3);
    EXPECT_EQ(bytes[3], 4);
}

TEST(InterfacePictures, CheckNamesTheFirstMissingFileAndPassesWhenAllAreThere) {
    const ScratchDir dir("check");
    const uitest::WorkingDirectory inside(dir.path);
    testing::internal::CaptureStdout();
    EXPECT_EQ(checkInterfacePictures(), "Unable to load image file:images/poweron.png");

    uitest::writeAllPictures(dir);
    EXPECT_EQ(checkInterfacePictures(), "");

    std::filesystem::remove(dir.file("images/ea105.png"));
    EXPECT_EQ(checkInterfacePictures(), "Unable to load image file:images/ea105.png");
    std::ofstream(dir.file("images/ea105.png")) << "broken";
    EXPECT_EQ(checkInterfacePictures(), "Unable to load image file:images/ea105.png");
    // The check is quiet: the game prints the one failure line itself.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

} // namespace
