#include "rules/Frustum.h"
#include "support/TestModels.h"

#include "core/Renderable.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

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

namespace {

// A square of side 2 around (x, y) at depth z, as mesh positions.
std::vector<float> square(float x, float y, float z) {
    return {x - 1, y - 1, z, x + 1, y - 1, z, x + 1, y + 1, z, x - 1, y + 1, z};
}

const std::vector<std::uint16_t> SQUARE_TRIANGLES{0, 1, 2, 0, 2, 3};

ScreenRect shown(const Matrix& eye, const std::vector<float>& positions,
                 const std::vector<std::uint16_t>& triangles = SQUARE_TRIANGLES) {
    return screenRectangle(eye, positions, triangles, 1024, 768);
}

} // namespace

TEST(ScreenRectangle, HoldsTheProjectedMeshWithAPixelToSpare) {
    const Matrix eye = Matrix::identity();
    // Straight ahead: around the window's centre, both ways alike.
    const ScreenRect centre = shown(eye, square(0, 0, -100));
    EXPECT_FALSE(centre.empty());
    EXPECT_EQ(centre.x0 + centre.x1, 1024);
    EXPECT_EQ(centre.y0 + centre.y1, 768);
    EXPECT_LT(centre.x1 - centre.x0, 40);
    // The same mesh nearer covers more; farther, less but never nothing.
    const ScreenRect near = shown(eye, square(0, 0, -10));
    EXPECT_GT(near.x1 - near.x0, centre.x1 - centre.x0);
    const ScreenRect far = shown(eye, square(0, 0, -1900));
    EXPECT_GE(far.x1 - far.x0, 2);
    // Up and to the right: the rectangle's origin is the window's bottom left.
    const ScreenRect upRight = shown(eye, square(20, 20, -100));
    EXPECT_GT(upRight.x0, centre.x1);
    EXPECT_GT(upRight.y0, centre.y1);
    // Placed by the matrix, not the positions alone.
    EXPECT_EQ(shown(Matrix::translation(20, 20, 0), square(0, 0, -100)), upRight);
}

TEST(ScreenRectangle, OffScreenEmptyAndCutAtTheNearPlane) {
    const Matrix eye = Matrix::identity();
    EXPECT_TRUE(shown(eye, square(-500, 0, -100)).empty());
    EXPECT_TRUE(shown(eye, square(0, 500, -100)).empty());
    EXPECT_TRUE(shown(eye, {}, {}).empty());
    EXPECT_TRUE(shown(eye, square(0, 0, 50)).empty()); // wholly behind the eye
    // Partly off: cut at the window's edge.
    const ScreenRect edge = shown(eye, square(48.5f, 0, -100));
    EXPECT_FALSE(edge.empty());
    EXPECT_EQ(edge.x1, 1024);
    // A floor from far ahead to behind the eye, below it: what lies in front reaches the
    // bottom of the window, the rest is cut away; a floor above the eye, the top.
    const std::vector<float> floor{-1, -5, -500, 1, -5, -500, 1, -5, 50, -1, -5, 50};
    const ScreenRect below = shown(eye, floor);
    EXPECT_EQ(below.y0, 0);
    EXPECT_LT(below.y1, 384);
    const std::vector<float> ceiling{-1, 5, -500, 1, 5, -500, 1, 5, 50, -1, 5, 50};
    EXPECT_EQ(shown(eye, ceiling).y1, 768);
    EXPECT_GT(shown(eye, ceiling).y0, 384);
    // Without triangles to cut, a vertex behind says nothing: the whole window.
    const ScreenRect all{0, 0, 1024, 768};
    EXPECT_EQ(shown(eye, floor, {}), all);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(shown(eye, {nan, 0, -100}, {}), all);
    // Bad triangle numbers: the whole window rather than a read past the vertices.
    EXPECT_EQ(shown(eye, floor, {0, 1, 9}), all);
}

TEST(FrustumForRectangle, TheWholeWindowIsTheViewAndAPartCutsTheRestAway) {
    const ScreenRect all{0, 0, 1024, 768};
    const Frustum whole = frustumForRectangle(all, 1024, 768);
    for (const Point& c : {Point{0, 0, -100, 1}, Point{-500, 0, -100, 1}, Point{0, 500, -100, 1},
                           Point{30, -20, -100, 1}, Point{0, 0, 10, 1}}) {
        EXPECT_EQ(sphereOutside(whole, c, 1), sphereOutside(frustum, c, 1)) << c[0] << "," << c[1];
    }
    // The right half of the window: straight ahead lies on its edge, the left is cut away.
    const Frustum right = frustumForRectangle({512, 0, 1024, 768}, 1024, 768);
    EXPECT_FALSE(sphereOutside(right, {0, 0, -100, 1}, 0.5f));
    EXPECT_TRUE(sphereOutside(right, {-5, 0, -100, 1}, 1));
    EXPECT_FALSE(sphereOutside(right, {-5, 0, -100, 1}, 6)); // reaches over the edge
    EXPECT_FALSE(sphereOutside(right, {30, 0, -100, 1}, 1));
    // A mesh's own rectangle keeps the mesh: the frustum and the projection agree.
    const ScreenRect r = shown(Matrix::identity(), square(20, 10, -100));
    const Frustum around = frustumForRectangle(r, 1024, 768);
    EXPECT_FALSE(sphereOutside(around, {20, 10, -100, 1}, 0.1f));
    EXPECT_TRUE(sphereOutside(around, {0, 0, -100, 1}, 1));
    EXPECT_TRUE(sphereOutside(around, {20, 10, 50, 1}, 1)); // behind the eye
    // Nothing inside an empty rectangle.
    EXPECT_TRUE(sphereOutside(frustumForRectangle({}, 1024, 768), {0, 0, -100, 1}, 0.1f));
}
