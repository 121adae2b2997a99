// Our widgets with stand-in pictures (no OpenGL): the energy bar and the tiled icon. (Missing
// pictures and shared ones are tested with the whole interface.)

#include "UiSupport.h"
#include "ui/EnergyLevel.h"
#include "ui/IconRepeatable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>

namespace {

using uitest::FakeImage;
using uitest::FakeLoader;
using uitest::RecordingGraphics;

const std::string& nameOf(const gcn::Image* image) {
    return dynamic_cast<const FakeImage&>(*image).name;
}

/// A loader that knows the pictures of the energy bar.
struct WidgetPictures : FakeLoader {
    WidgetPictures() {
        sizes["images/energyback.png"] = {260, 100};
        sizes["images/energylevel.png"] = {250, 100};
        sizes["images/energyborder.png"] = {260, 100};
    }
};

TEST(EnergyLevel, SlidesTheLevelOutAsItEmptiesClampedAndDrawsItInsideTheRims) {
    WidgetPictures loader;
    gcn::EnergyLevel bar;
    EXPECT_FLOAT_EQ(bar.getLevel(), 1.0f); // it starts full
    const auto shownAt = [&](float value) {
        bar.setLevel(value);
        return bar.getLevelIcon()->getX();
    };
    EXPECT_EQ(shownAt(1.0f), 0);
    // Emptier is further out, and empty still shows the picture's last columns.
    EXPECT_LT(shownAt(0.5f), 0);
    EXPECT_LT(shownAt(0.001f), shownAt(0.5f));
    EXPECT_LT(shownAt(0.0f), shownAt(0.001f));
    EXPECT_GT(shownAt(0.0f) + bar.getLevelIcon()->getWidth(), 0);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const auto& [value, clamped] : {std::pair{1.5f, 1.0f}, std::pair{inf, 1.0f},
                                         std::pair{-0.2f, 0.0f}, std::pair{nan, 0.0f}}) {
        EXPECT_EQ(shownAt(value), shownAt(clamped)) << value;
        EXPECT_FLOAT_EQ(bar.getLevel(), clamped) << value;
    }

    RecordingGraphics graphics;
    graphics.pushClipArea(gcn::Rectangle(0, 0, 260, 100));
    bar.setLevel(0.5f);
    bar.draw(&graphics);
    std::vector<std::string> drawn;
    for (const auto& d : graphics.draws) {
        drawn.push_back(nameOf(d.image));
    }
    EXPECT_EQ(drawn, (std::vector<std::string>{"images/energyback.png", "images/energylevel.png",
                                               "images/energyborder.png"}));
    const gcn::Rectangle shown = graphics.draws.at(1).clip;
    EXPECT_TRUE(shown.x > 0 && shown.x + shown.width < 260) << uitest::dims(shown);
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

TEST(IconRepeatable, CoversItsAreaWithWholeOrCutTiles) {
    using Tiles = std::vector<std::pair<int, int>>;
    const auto sorted = [](Tiles t) {
        std::sort(t.begin(), t.end());
        return t;
    };
    EXPECT_EQ(sorted(tiles(256, 32, 600, 40)),
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
