#pragma once
// Helpers of the interface tests: a scratch folder, the generated pictures, a stand-in Guichan
// image and graphics that need no OpenGL, and an OpenGL window on a virtual display.

#include "app/Window.h"
#include "assets/Images.h"
#include "assets/ImagesPng.h"
#include "support/GameWindow.h"
#include "support/GraphicsDrivers.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>
#include <guichan/cliprectangle.hpp>
#include <guichan/color.hpp>
#include <guichan/exception.hpp>
#include <guichan/graphics.hpp>
#include <guichan/image.hpp>
#include <guichan/rectangle.hpp>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace uitest {

/// A rectangle as "x y width height", for readable comparisons.
inline std::string dims(const gcn::Rectangle& r) {
    return std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.width) + " " +
           std::to_string(r.height);
}

/// Writes every generated picture below dir (as "images/...").
inline void writeAllPictures(const ScratchDir& dir) {
    for (const GeneratedImage& picture : generatedImageFiles()) {
        const std::string path = dir.file(picture.fileName);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::string error;
        if (!writePng(path, picture.build(), &error)) {
            throw std::runtime_error(error);
        }
    }
}

/// The working directory changed for the lifetime of this object.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::filesystem::path& dir)
        : previous(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDirectory() {
        std::error_code ec;
        std::filesystem::current_path(previous, ec);
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

  private:
    std::filesystem::path previous;
};

/// A picture of a given size without pixels or texture.
class FakeImage : public gcn::Image {
  public:
    FakeImage(std::string name, int w, int h) : name(std::move(name)), w(w), h(h) {}
    void free() override {}
    int getWidth() const override { return w; }
    int getHeight() const override { return h; }
    gcn::Color getPixel(int, int) override { return gcn::Color(); }
    void putPixel(int, int, const gcn::Color&) override {}
    void convertToDisplayFormat() override {}
    const std::string name;

  private:
    int w, h;
};

/// Records the pictures drawn and where (relative to the current clip area), draws nothing.
class RecordingGraphics : public gcn::Graphics {
  public:
    struct Draw {
        const gcn::Image* image;
        int x, y;            ///< relative to the clip area's offset
        gcn::Rectangle clip; ///< the visible part, in absolute coordinates
    };
    void drawImage(const gcn::Image* image, int, int, int dstX, int dstY, int, int) override {
        const gcn::ClipRectangle area =
            mClipStack.empty() ? gcn::ClipRectangle() : mClipStack.top();
        draws.push_back(
            {image, dstX, dstY, gcn::Rectangle(area.x, area.y, area.width, area.height)});
    }
    void drawPoint(int, int) override {}
    void drawLine(int, int, int, int) override {}
    void drawRectangle(const gcn::Rectangle&) override {}
    void fillRectangle(const gcn::Rectangle&) override {}
    void setColor(const gcn::Color& c) override { colour = c; }
    const gcn::Color& getColor() const override { return colour; }
    std::vector<Draw> draws;

  private:
    gcn::Color colour;
};

/// One 1024 x 768 OpenGL window on a private virtual display for the whole test program, and
/// every generated picture under "images/" in the working directory.
class GlEnvironment : public ::testing::Environment {
  public:
    static constexpr int WIDTH = 1024, HEIGHT = 768;

    void SetUp() override {
        ASSERT_TRUE(sharedDisplay().ok()) << "cannot start Xvfb";
        ::setenv("DISPLAY", sharedDisplay().name().c_str(), 1);
        ASSERT_TRUE(windowInit());
        ASSERT_TRUE(windowOpen(WIDTH, HEIGHT, 0, 0, 0, 8, 16, 16, false));
        pictures = std::make_unique<ScratchDir>("pictures");
        writeAllPictures(*pictures);
        workingDirectory = std::make_unique<WorkingDirectory>(pictures->path);
        ready() = true;
    }
    void TearDown() override {
        ready() = false;
        workingDirectory.reset();
        pictures.reset();
        keepGraphicsDriversLoaded();
        windowTerminate();
    }
    static bool& ready() {
        static bool value = false;
        return value;
    }

  private:
    std::unique_ptr<ScratchDir> pictures;
    std::unique_ptr<WorkingDirectory> workingDirectory;
};

} // namespace uitest
