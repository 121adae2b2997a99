// The DevIL image loader: decoding to 8-bit RGBA top row first, and the start-up check of every
// interface picture, which names the first that is missing or broken. No OpenGL: the images are
// not made textures. (The loader's exception is tested with the whole interface.)

#include "UiSupport.h"
#include "ui/DevILImageLoader.h"
#include "ui/UserInterface.h"

#include <IL/il.h>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace {

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

std::unique_ptr<gcn::Image> loadQuietly(const std::string& path) {
    gcn::DevILImageLoader loader;
    testing::internal::CaptureStdout();
    std::unique_ptr<gcn::Image> image(loader.load(path, false));
    testing::internal::GetCapturedStdout();
    return image;
}

std::string colour(gcn::Image& image, int x, int y) {
    const gcn::Color c = image.getPixel(x, y);
    return std::to_string(c.r) + " " + std::to_string(c.g) + " " + std::to_string(c.b) + " " +
           std::to_string(c.a);
}

TEST(DevILImageLoader, ConvertsAnRgbPictureToOpaqueRgbaTopRowFirst) {
    const ScratchDir dir("loader");
    // Red, green, blue on top; white, black, grey below.
    writeRaw(dir.file("rgb.png"), 3, 2, 3,
             {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 128, 128, 128});
    for (const bool lowerLeft : {false, true}) {
        SCOPED_TRACE(lowerLeft ? "DevIL told lower left" : "default origin");
        if (lowerLeft) {
            ilEnable(IL_ORIGIN_SET);
            ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
        }
        const auto image = loadQuietly(dir.file("rgb.png"));
        ilDisable(IL_ORIGIN_SET);
        ilOriginFunc(IL_ORIGIN_UPPER_LEFT);
        ASSERT_EQ(image->getWidth(), 3);
        ASSERT_EQ(image->getHeight(), 2);
        EXPECT_EQ(colour(*image, 0, 0), "255 0 0 255");
        EXPECT_EQ(colour(*image, 2, 0), "0 0 255 255");
        EXPECT_EQ(colour(*image, 0, 1), "255 255 255 255");
        EXPECT_EQ(colour(*image, 2, 1), "128 128 128 255");
    }
}

TEST(InterfacePictures, CheckNamesTheFirstMissingFileAndPassesWhenAllAreThere) {
    const ScratchDir dir("check");
    const uitest::WorkingDirectory inside(dir.path);
    testing::internal::CaptureStdout();
    EXPECT_EQ(checkInterfacePictures(), "Unable to load image file:images/poweron.png");
    uitest::writeAllPictures(dir);
    EXPECT_EQ(checkInterfacePictures(), "");
    std::ofstream(dir.file("images/ea105.png")) << "broken";
    EXPECT_EQ(checkInterfacePictures(), "Unable to load image file:images/ea105.png");
    // The check is quiet: the game prints the one failure line itself.
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

} // namespace
