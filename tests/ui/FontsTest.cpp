// The generated image fonts as Guichan reads them, in an OpenGL window.

#include "UiSupport.h"
#include "ui/DevILImageLoader.h"
#include "ui/UserInterface.h"

#include <gtest/gtest.h>
#include <guichan/imagefont.hpp>

#include <memory>

namespace {

/// The DevIL loader installed as Guichan's for one test.
class FontTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(uitest::GlEnvironment::ready());
        gcn::Image::setImageLoader(&loader);
    }
    void TearDown() override { gcn::Image::setImageLoader(nullptr); }
    /// The font, without the loader's console listing.
    static std::unique_ptr<gcn::ImageFont> load(const std::string& file,
                                                const std::string& glyphs) {
        testing::internal::CaptureStdout();
        try {
            auto font = std::make_unique<gcn::ImageFont>(file, glyphs);
            testing::internal::GetCapturedStdout();
            return font;
        } catch (...) {
            testing::internal::GetCapturedStdout();
            throw;
        }
    }
    gcn::DevILImageLoader loader;
};

TEST_F(FontTest, SmallFontsLoadWithEveryGlyphAndTheirHeight) {
    for (const char* file : {"images/ea030.png", "images/ea030h.png"}) {
        const auto loaded = load(file, UserInterface::SMALL_FONT_GLYPHS);
        gcn::ImageFont& font = *loaded;
        EXPECT_EQ(font.getHeight(), smallFontStyle().padTop + 14 + smallFontStyle().padBottom);
        for (char c : std::string(UserInterface::SMALL_FONT_GLYPHS)) {
            EXPECT_GT(font.getWidth(std::string(1, c)), 0) << file << " '" << c << "'";
        }
        // A character the font lacks takes the room of a blank.
        EXPECT_EQ(font.getWidth("_"), font.getWidth(" ")) << file;
        EXPECT_EQ(font.getWidth("a"), font.getWidth(" ")) << file;
        // Letters are wider than the full stop, and digits share one width.
        EXPECT_GT(font.getWidth("W"), font.getWidth("."));
        EXPECT_EQ(font.getWidth("0"), font.getWidth("8"));
        // The interface's spacing of -2 takes the glyphs' right padding away again (between
        // the eight glyphs).
        const int plain = font.getWidth("FPS: 000");
        font.setGlyphSpacing(-2);
        EXPECT_EQ(font.getWidth("FPS: 000"), plain - 2 * 7);
    }
}

TEST_F(FontTest, LargeFontHasTheUnderscoreToo) {
    const auto loaded = load("images/ea105.png", UserInterface::LARGE_FONT_GLYPHS);
    gcn::ImageFont& font = *loaded;
    EXPECT_EQ(font.getHeight(), largeFontStyle().padTop + 42 + largeFontStyle().padBottom);
    for (char c : std::string(UserInterface::LARGE_FONT_GLYPHS)) {
        EXPECT_GT(font.getWidth(std::string(1, c)), 0) << "'" << c << "'";
    }
    EXPECT_GT(font.getWidth("LEVEL SOLVED"), 300);
}

TEST_F(FontTest, AGlyphListLongerThanThePictureIsRejected) {
    EXPECT_THROW(load("images/ea030.png", std::string(UserInterface::SMALL_FONT_GLYPHS) + "X"),
                 gcn::Exception);
    EXPECT_THROW(load("images/ea030.png", UserInterface::LARGE_FONT_GLYPHS), gcn::Exception);
}

} // namespace
