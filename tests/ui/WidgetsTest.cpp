// The tiled icon with a stand-in picture (no OpenGL). (Missing
// pictures and shared ones are tested with the whole interface.)

#include "UiSupport.h"
#include "ui/IconRepeatable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

using uitest::FakeImage;
using uitest::RecordingGraphics;

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
