// Culling of objects before they are drawn: the view frustum, a mirror's clip plane, and the
// outline of a selected object.

#include "render/SceneDrawing.h"
#include "support/TestModels.h"

#include "core/Renderable.h"

#include <gtest/gtest.h>

namespace {

class Thing : public Renderable {
  public:
    Model* getModel() override { return gameModels().ball.get(); } // radius 15 at the origin
};

} // namespace

TEST(Culling, FrustumClipPlaneAndWhatIsAlwaysKept) {
    loadTestModels();
    Thing t;
    t.translate(0, 0, -200);
    EXPECT_FALSE(isCulled(nullptr, t));
    Culling c;
    c.frustum = buildFrustumPlanes(4.0 / 3.0);
    EXPECT_FALSE(isCulled(&c, t));
    // Cut away beyond z = -100 (the normal points at the cut side): the ball at -200 with
    // radius 15 goes, one that reaches over the plane stays.
    c.clipped = true;
    c.clip = {{0, 0, -1}, {0, 0, -100}};
    EXPECT_TRUE(isCulled(&c, t));
    t.translate(0, 0, 90);
    EXPECT_FALSE(isCulled(&c, t));
    // Outside the frustum, unless the frustum is not looked at.
    t.translate(-500, 0, 0);
    EXPECT_TRUE(isCulled(&c, t));
    c.useFrustum = false;
    EXPECT_FALSE(isCulled(&c, t));
    // A selected object's outline reaches past its sphere: kept where asked.
    c.useFrustum = true;
    c.keepOutlined = true;
    t.selected = true;
    EXPECT_FALSE(isCulled(&c, t));
    t.selected = false;
    EXPECT_TRUE(isCulled(&c, t));
}
