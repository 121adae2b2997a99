#include "render/ShadowState.h"

#include <gtest/gtest.h>

namespace {

void describe(ShadowState& s, std::uint64_t version, const Matrix& light, double aspect) {
    s.begin();
    s.add(light);
    s.add(aspect);
    s.add(version);
}

} // namespace

TEST(ShadowState, ChangedUntilRenderedThenOnlyWhenTheDescriptionDiffers) {
    ShadowState s;
    const Matrix light = Matrix::identity();
    describe(s, 1, light, 4.0 / 3.0);
    EXPECT_TRUE(s.changed());
    s.markRendered();
    describe(s, 1, light, 4.0 / 3.0);
    EXPECT_FALSE(s.changed());
    // A new world matrix version, a light turned by a hair, a new window shape.
    describe(s, 2, light, 4.0 / 3.0);
    EXPECT_TRUE(s.changed());
    Matrix turned = light;
    turned.m[1] = 1e-7f;
    describe(s, 1, turned, 4.0 / 3.0);
    EXPECT_TRUE(s.changed());
    describe(s, 1, light, 16.0 / 9.0);
    EXPECT_TRUE(s.changed());
    // Back to what was rendered: nothing to do.
    describe(s, 1, light, 4.0 / 3.0);
    EXPECT_FALSE(s.changed());
}

TEST(ShadowState, AnObjectMoreOrLessAndANewTargetCount) {
    ShadowState s;
    describe(s, 1, Matrix::identity(), 1.0);
    s.markRendered();
    describe(s, 1, Matrix::identity(), 1.0);
    s.add(std::uint64_t{0}); // one more caster, even with all zeros
    EXPECT_TRUE(s.changed());
    s.markRendered();
    s.begin();
    EXPECT_TRUE(s.changed()); // no casters at all
    s.markRendered();
    EXPECT_FALSE(s.changed());
    s.invalidate();
    EXPECT_TRUE(s.changed());
    // -0 and +0 are different bits: still a change, never a missed one.
    describe(s, 1, Matrix::identity(), 0.0);
    s.markRendered();
    describe(s, 1, Matrix::identity(), -0.0);
    EXPECT_TRUE(s.changed());
}
