#include "render/ShadowState.h"

#include <gtest/gtest.h>

namespace {

using Update = ShadowState::Update;
using Casters = std::vector<ShadowState::Caster>;

const int A = 0, B = 0; // two casters, told apart by their addresses

/// A at version 1 and B at versionOfB.
Casters two(std::uint64_t versionOfB) {
    return {{&A, 1, 0, false}, {&B, versionOfB, 0, false}};
}

/// Describes the map: the casters, the light and the window's shape.
void describe(ShadowState& s, const Casters& casters, const Matrix& light = Matrix::identity(),
              double aspect = 4.0 / 3.0) {
    s.begin();
    s.add(light);
    s.add(aspect);
    for (const auto& caster : casters) {
        s.addCaster(caster);
    }
}

const std::vector<ScreenRect> RECTS{{0, 0, 10, 10}, {20, 20, 30, 30}};

} // namespace

TEST(ShadowState, WholeFirstThenOnlyChangedCastersUntilLightCastersOrTargetChange) {
    ShadowState s;
    describe(s, two(1));
    EXPECT_EQ(s.update(), Update::Whole);
    s.markRendered(RECTS);
    describe(s, two(1));
    EXPECT_EQ(s.update(), Update::None);
    // One caster with a new world matrix: its parts, and where it was drawn.
    describe(s, two(2));
    ASSERT_EQ(s.update(), Update::Parts);
    EXPECT_FALSE(s.changed(0));
    EXPECT_TRUE(s.changed(1));
    EXPECT_EQ(s.shownRect(1), RECTS[1]);
    // A light turned by a hair, a new window shape: everything.
    Matrix turned = Matrix::identity();
    turned.m[1] = 1e-7f;
    describe(s, two(1), turned);
    EXPECT_EQ(s.update(), Update::Whole);
    describe(s, two(1), Matrix::identity(), 16.0 / 9.0);
    EXPECT_EQ(s.update(), Update::Whole);
    // Back to what was drawn: nothing to do.
    describe(s, two(1));
    EXPECT_EQ(s.update(), Update::None);

    // The same number of casters, one of them another object (a new level may reuse addresses
    // but not in the same order of versions): whole. One more: whole.
    describe(s, {{&A, 1, 0, false}, {&A, 1, 0, false}});
    EXPECT_EQ(s.update(), Update::Whole);
    describe(s, {{&A, 1, 0, false}, {&B, 1, 0, false}, {&B, 0, 0, false}});
    EXPECT_EQ(s.update(), Update::Whole);
    // An outline or a mesh of its own: that caster's parts.
    describe(s, {{&A, 1, 0, true}, {&B, 1, 7, false}});
    ASSERT_EQ(s.update(), Update::Parts);
    EXPECT_TRUE(s.changed(0));
    EXPECT_TRUE(s.changed(1));
    describe(s, two(1));
    s.invalidate();
    EXPECT_EQ(s.update(), Update::Whole);
}
