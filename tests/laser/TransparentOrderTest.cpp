#include "laser/TransparentOrder.h"
#include "elements/ColorFilter.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class DrawOrder : public WithGameModels {
  protected:
    // Orders for an eye at (0, 0, eyeZ) looking along -z; keeps what was printed.
    std::vector<Renderable*> order(Level& level, float eyeZ) {
        printed = captureStdout([&] {
            orderTransparentObjects(*level.transparentSet, Matrix::translation(0, 0, -eyeZ));
        });
        std::vector<Renderable*> objects;
        for (TransparentObject* t : level.transparentSet->drawOrder) {
            objects.push_back(t->object);
        }
        return objects;
    }
    std::string printed;
};

} // namespace

TEST_F(DrawOrder, WithoutFiltersSegmentsKeepTheirOrder) {
    auto level = tracedLevel("@ EMI\n@ MIR\n# Pos 0;0;-300;\n# YRo 45;\n");
    ASSERT_EQ(level->laserBeams.size(), 2u);
    EXPECT_EQ(order(*level, 500),
              (std::vector<Renderable*>{level->laserBeams[0], level->laserBeams[1]}));
    EXPECT_EQ(printed, ""); // no cycle to break
}

TEST_F(DrawOrder, SegmentBehindAFilterComesFirst) {
    auto level = tracedLevel(
        "@ EMI\n@ FIL\n# Pos 0;0;-200;\n# Col 7\n@ WAL\n# Pos 0;0;-400;\n# Sca 5;5;1;\n");
    ASSERT_EQ(level->laserBeams.size(), 2u);
    Renderable* nearSide = level->laserBeams[0]; // emitter to filter
    Renderable* farSide = level->laserBeams[1];  // filter to wall
    Renderable* filter = level->colorFilters[0];
    EXPECT_EQ(order(*level, 300), (std::vector<Renderable*>{farSide, filter, nearSide}));
    // From the other side of the filter the order turns round.
    EXPECT_EQ(order(*level, -300), (std::vector<Renderable*>{nearSide, filter, farSide}));
}

TEST_F(DrawOrder, SegmentsOnTheEyesSideOfEveryPlaneComeLast) {
    // The filter stands aside; the beam never reaches it, and the eye shares its side.
    auto level =
        tracedLevel("@ EMI\n# Pos 0;0;-300;\n@ FIL\n# Pos 500;0;-100;\n# YRo 180;\n# Col 7\n");
    ASSERT_EQ(level->laserBeams.size(), 1u);
    EXPECT_EQ(order(*level, -1000),
              (std::vector<Renderable*>{level->colorFilters[0], level->laserBeams[0]}));
}

TEST_F(DrawOrder, CrossedFiltersBreakTheCycleOnce) {
    // Two panes through the same vertical line, each half in front of the other.
    auto level = tracedLevel("@ EMI\n# Pos 0;0;600;\n"
                             "@ FIL\n# YRo 30;\n# Col 7\n@ FIL\n# YRo -30;\n# Col 7\n");
    auto objects = order(*level, 500);
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1);
    // Everything is still drawn, once.
    std::sort(objects.begin(), objects.end());
    EXPECT_EQ(std::unique(objects.begin(), objects.end()), objects.end());
    EXPECT_EQ(objects.size(), level->laserBeams.size() + 2);
}

TEST_F(DrawOrder, ManyFiltersAreOrderedByDistance) {
    // 40 clear filters in a row along the beam: the cells would need 2^40 entries.
    std::string text = "@ EMI\n";
    for (int i = 1; i <= 40; ++i) {
        text += "@ FIL\n# Pos 0;0;" + std::to_string(-50 * i) + ";\n# Col 7\n";
    }
    text += "@ WAL\n# Pos 0;0;-2100;\n# Sca 5;5;1;\n";
    auto level = tracedLevel(text);
    ASSERT_EQ(level->colorFilters.size(), 40u);
    EXPECT_EQ(level->colorFilters[35]->filterMask, 0); // past the 31 bits: no bit
    EXPECT_EQ(level->laserBeams.size(), 41u);
    const auto objects = order(*level, 300);
    EXPECT_EQ(printed, "");
    ASSERT_EQ(objects.size(), 81u);
    // Far to near: the segment at the wall, then the last filter, ... the first segment.
    EXPECT_EQ(objects.front(), level->laserBeams.back());
    EXPECT_EQ(objects[1], level->colorFilters.back());
    EXPECT_EQ(objects.back(), level->laserBeams.front());
    for (std::size_t i = 0; i < objects.size(); ++i) { // segments and filters take turns
        EXPECT_EQ(dynamic_cast<ColorFilter*>(objects[i]) != nullptr, i % 2 == 1) << i;
    }
}
