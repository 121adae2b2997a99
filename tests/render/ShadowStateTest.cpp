#include "render/ShadowState.h"

#include <gtest/gtest.h>

namespace {

using Update = ShadowState::Update;

const int A = 0, B = 0; // two casters, told apart by their addresses

void describe(ShadowState& s, std::uint64_t versionOfB, const Matrix& light = Matrix::identity(),
              double aspect = 4.0 / 3.0) {
    s.begin();
    s.add(light);
    s.add(aspect);
    s.addCaster({&A, 1, 0, false});
    s.addCaster({&B, versionOfB, 0, false});
}

const std::vector<ScreenRect> RECTS{{0, 0, 10, 10}, {20, 20, 30, 30}};

} // namespace

TEST(ShadowState, WholeFirstThenNothingUntilACasterOrTheLightChanges) {
    ShadowState s;
    describe(s, 1);
    EXPECT_EQ(s.update(), Update::Whole);
    s.markRendered(RECTS);
    describe(s, 1);
    EXPECT_EQ(s.update(), Update::None);
    // One caster with a new world matrix: its parts, and where it was drawn.
    describe(s, 2);
    ASSERT_EQ(s.update(), Update::Parts);
    EXPECT_FALSE(s.changed(0));
    EXPECT_TRUE(s.changed(1));
    EXPECT_EQ(s.shownRect(1), RECTS[1]);
    // A light turned by a hair, a new window shape: everything.
    Matrix turned = Matrix::identity();
    turned.m[1] = 1e-7f;
    describe(s, 1, turned);
    EXPECT_EQ(s.update(), Update::Whole);
    describe(s, 1, Matrix::identity(), 16.0 / 9.0);
    EXPECT_EQ(s.update(), Update::Whole);
    // Back to what was drawn: nothing to do.
    describe(s, 1);
    EXPECT_EQ(s.update(), Update::None);
}

TEST(ShadowState, OtherCastersOrANewTargetRedrawEverything) {
    ShadowState s;
    describe(s, 1);
    s.markRendered(RECTS);
    // The same number of casters, one of them another object (a new level may reuse addresses
    // but not in the same order of versions): whole.
    s.begin();
    s.add(Matrix::identity());
    s.add(4.0 / 3.0);
    s.addCaster({&A, 1, 0, false});
    s.addCaster({&A, 1, 0, false});
    EXPECT_EQ(s.update(), Update::Whole);
    describe(s, 1);
    s.addCaster({&B, 0, 0, false}); // one more
    EXPECT_EQ(s.update(), Update::Whole);
    // An outline or a mesh of its own: that caster's parts.
    s.begin();
    s.add(Matrix::identity());
    s.add(4.0 / 3.0);
    s.addCaster({&A, 1, 0, true});
    s.addCaster({&B, 1, 7, false});
    ASSERT_EQ(s.update(), Update::Parts);
    EXPECT_TRUE(s.changed(0));
    EXPECT_TRUE(s.changed(1));
    describe(s, 1);
    s.invalidate();
    EXPECT_EQ(s.update(), Update::Whole);
}
