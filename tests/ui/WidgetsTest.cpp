// Our widgets with stand-in pictures (no OpenGL): the toggle button, the energy bar and the
// tiled icon.

#include "UiSupport.h"
#include "ui/EnergyLevel.h"
#include "ui/IconRepeatable.h"
#include "ui/ToggleButton.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace {

using uitest::FakeImage;
using uitest::FakeLoader;
using uitest::RecordingGraphics;

const std::string& nameOf(const gcn::Image* image) {
    return dynamic_cast<const FakeImage&>(*image).name;
}

/// A loader that knows the pictures of the "power" and "light" switches and the energy bar.
struct WidgetPictures : FakeLoader {
    WidgetPictures() {
        sizes["images/poweron.png"] = {124, 100};
        sizes["images/poweroff.png"] = {120, 100};
        sizes["images/powernormal.png"] = {106, 48};
        sizes["images/powerhighlight.png"] = {106, 48};
        sizes["images/lightnormal.png"] = {48, 48};
        sizes["images/lighthighlight.png"] = {48, 48};
        sizes["images/energyback.png"] = {260, 100};
        sizes["images/energylevel.png"] = {250, 100};
        sizes["images/energyborder.png"] = {260, 100};
    }
};

TEST(ToggleButton, StartsOffAndSwapsItsPictureButNotItsSize) {
    WidgetPictures loader;
    gcn::ToggleButton power("power");
    const std::vector<std::string> expected = {"images/poweron.png", "images/poweroff.png",
                                               "images/powernormal.png",
                                               "images/powerhighlight.png"};
    EXPECT_EQ(loader.loaded, expected);
    EXPECT_FALSE(power.getState());
    EXPECT_EQ(nameOf(power.getIcon()->getImage()), "images/poweroff.png");
    // The switch takes the size of its off picture; the button sits at (9, 43) on it.
    EXPECT_EQ(power.getWidth(), 120);
    EXPECT_EQ(power.getHeight(), 100);
    EXPECT_EQ(uitest::dims(power.getButton()->getDimension()), "9 43 106 48");

    power.setState(true);
    EXPECT_TRUE(power.getState());
    EXPECT_EQ(nameOf(power.getIcon()->getImage()), "images/poweron.png");
    EXPECT_EQ(power.getIcon()->getWidth(), 124);
    EXPECT_EQ(power.getWidth(), 120);
    power.setState(false);
    EXPECT_EQ(nameOf(power.getIcon()->getImage()), "images/poweroff.png");
    EXPECT_EQ(power.getIcon()->getWidth(), 120);
}

TEST(ToggleButton, SharedPicturesAreNotLoadedAndOutliveTheSwitches) {
    WidgetPictures loader;
    const FakeImage on("on", 66, 100), off("off", 66, 100);
    {
        gcn::ToggleButton a("light", &on, &off);
        gcn::ToggleButton b("light", &on, &off);
        a.setState(true);
        EXPECT_EQ(a.getIcon()->getImage(), &on);
        EXPECT_EQ(b.getIcon()->getImage(), &off);
    }
    // Only the buttons' pictures were loaded; the shared pair is still ours (no double free).
    EXPECT_EQ(loader.loaded.size(), 4u);
    EXPECT_EQ(on.getWidth(), 66);
}

TEST(Widgets, MissingPictureRaisesTheLoaderException) {
    for (const char* missing : {"images/powerhighlight.png", "images/energyborder.png"}) {
        WidgetPictures loader;
        loader.sizes.erase(missing);
        try {
            gcn::ToggleButton power("power");
            gcn::EnergyLevel bar;
            ADD_FAILURE() << "no exception without " << missing;
        } catch (const gcn::Exception& e) {
            EXPECT_EQ(e.getMessage(), std::string("Unable to load image file:") + missing);
        }
    }
}

TEST(EnergyLevel, DrawsBackLevelAndBorderWithTheLevelClippedToItsWindow) {
    WidgetPictures loader;
    gcn::EnergyLevel bar;
    EXPECT_EQ(bar.getWidth(), 260);
    EXPECT_FLOAT_EQ(bar.getLevel(), 1.0f);
    bar.setLevel(0.5f);
    RecordingGraphics graphics;
    graphics.pushClipArea(gcn::Rectangle(0, 0, 260, 100));
    bar.draw(&graphics);
    ASSERT_EQ(graphics.draws.size(), 3u);
    EXPECT_EQ(nameOf(graphics.draws[0].image), "images/energyback.png");
    EXPECT_EQ(nameOf(graphics.draws[1].image), "images/energylevel.png");
    EXPECT_EQ(nameOf(graphics.draws[2].image), "images/energyborder.png");
    // The level picture sits at 5 - 123 in the bar, and only its window (5 to 255) shows.
    EXPECT_EQ(graphics.draws[1].offsetX, 5 - 123);
    EXPECT_EQ(graphics.draws[1].clip.x, 5);
    EXPECT_LE(graphics.draws[1].clip.x + graphics.draws[1].clip.width, 5 + 250);
    EXPECT_EQ(graphics.draws[2].clip.width, 260);
}

TEST(EnergyLevel, SetLevelClampsAndPlacesTheBar) {
    WidgetPictures loader;
    gcn::EnergyLevel bar;
    const gcn::Icon& level = *bar.getLevelIcon();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float value, stored;
        int x;
    };
    for (const Case& c : {Case{0.5f, 0.5f, -123}, Case{0.0f, 0.0f, -247}, Case{1.0f, 1.0f, 0},
                          Case{1.5f, 1.0f, 0}, Case{-0.2f, 0.0f, -247}, Case{0.001f, 0.001f, -246},
                          Case{nan, 0.0f, -247}, Case{inf, 1.0f, 0}}) {
        bar.setLevel(c.value);
        EXPECT_FLOAT_EQ(bar.getLevel(), c.stored) << c.value;
        EXPECT_EQ(level.getX(), c.x) << c.value;
        EXPECT_EQ(level.getWidth(), 250);
    }
}

std::vector<std::pair<int, int>> tiles(int tileW, int tileH, int areaW, int areaH) {
    const FakeImage tile("tile", tileW, tileH);
    gcn::IconRepeatable icon(&tile);
    icon.setDimension(gcn::Rectangle(0, 0, areaW, areaH));
    RecordingGraphics graphics;
    icon.draw(&graphics);
    std::vector<std::pair<int, int>> at;
    for (const auto& d : graphics.draws) {
        at.push_back({d.x, d.y});
    }
    return at;
}

TEST(IconRepeatable, TilesColumnsLeftToRightEachTopToBottom) {
    using Tiles = std::vector<std::pair<int, int>>;
    EXPECT_EQ(tiles(256, 32, 600, 40),
              (Tiles{{0, 0}, {0, 32}, {256, 0}, {256, 32}, {512, 0}, {512, 32}}));
    EXPECT_EQ(tiles(64, 100, 128, 100), (Tiles{{0, 0}, {64, 0}})); // an exact fit
    EXPECT_EQ(tiles(64, 100, 10, 5), (Tiles{{0, 0}}));             // one cut tile
    EXPECT_TRUE(tiles(64, 100, 0, 100).empty());
    EXPECT_TRUE(tiles(0, 0, 100, 100).empty());
    gcn::IconRepeatable empty(nullptr);
    empty.setDimension(gcn::Rectangle(0, 0, 100, 100));
    RecordingGraphics graphics;
    empty.draw(&graphics);
    EXPECT_TRUE(graphics.draws.empty());
}

} // namespace
