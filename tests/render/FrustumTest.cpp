#include "render/Frustum.h"
#include "support/TestModels.h"

#include "core/Renderable.h"

#include <gtest/gtest.h>

namespace {

class Thing : public Renderable {
  public:
    Model* getModel() override { return gameModels().ball.get(); } // radius 15 at the origin
};

const Frustum frustum = buildFrustumPlanes(4.0 / 3.0);

} // namespace

TEST(Frustum, SpheresInsideStraddlingTouchingAndOutside) {
    EXPECT_FALSE(sphereOutside(frustum, {0, 0, -100, 1}, 1));
    // Behind the eye, beyond the far plane, left and above the view.
    EXPECT_TRUE(sphereOutside(frustum, {0, 0, 10, 1}, 1));
    EXPECT_TRUE(sphereOutside(frustum, {0, 0, -2100, 1}, 50));
    EXPECT_TRUE(sphereOutside(frustum, {-500, 0, -100, 1}, 10));
    EXPECT_TRUE(sphereOutside(frustum, {0, 500, -100, 1}, 10));
    // Straddling the near plane or the far plane: drawn.
    EXPECT_FALSE(sphereOutside(frustum, {0, 0, 0.2f, 1}, 1));
    EXPECT_FALSE(sphereOutside(frustum, {0, 0, -2040, 1}, 50));
    // Centre exactly one radius beyond the far plane: touching counts as inside.
    EXPECT_FALSE(sphereOutside(frustum, {0, 0, -2010, 1}, 10));
    EXPECT_TRUE(sphereOutside(frustum, {0, 0, -2010.1f, 1}, 10));
}

TEST(Frustum, ObjectsArePlacedByWorldMatrixAndView) {
    loadTestModels();
    Thing t;
    t.translate(0, 0, -200);
    EXPECT_FALSE(isOutsideFrustum(frustum, t, Matrix::identity()));
    // The view turned half round: the object is behind the eye.
    Matrix back = Matrix::identity();
    matrixRotateY(back, static_cast<float>(PI), 0);
    EXPECT_TRUE(isOutsideFrustum(frustum, t, back));
    // A scaled object reaches further: far to the side but huge.
    t.translate(-300, 0, 0);
    EXPECT_TRUE(isOutsideFrustum(frustum, t, Matrix::identity()));
    t.scale(20, 20, 20);
    EXPECT_FALSE(isOutsideFrustum(frustum, t, Matrix::identity()));
}
