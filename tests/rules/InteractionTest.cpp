// The camera and the manipulation rules without a window: the view stays finite and level
// whatever the turns, the eye stays out of the walls, the arrow keys follow the viewer, and a
// manipulation that would leave a matrix that is no number is dropped.

#include "rules/Interaction.h"
#include "core/Renderable.h"
#include "elements/Holder.h"
#include "rules/CommandTable.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

// The eye's x axis in world space must stay horizontal: its y component is the roll.
float roll(const Matrix& view) {
    return view[4];
}

// Where the eye looks, in world space, from the inverse of the whole view.
Point lookDirection(const Matrix& view) {
    Point d{0, 0, -1, 0};
    transformPoint(invertMatrix(view), d);
    return d;
}

Matrix turnedView(float yawDegrees) {
    Matrix view = Matrix::translation(0, -100, -370);
    EXPECT_TRUE(moveView(view, 0, 0, 0, static_cast<float>(yawDegrees * PI / 180), 0));
    return view;
}

// A box room 800 wide, 420 high and 820 deep, as the pack builds them.
const char* const ROOM = R"(@ WALL floor
# Pos 0;-150;0;
# XRo 90;
# Sca 4;4;1;
@ WALL ceiling
# Pos 0;270;0;
# XRo 90;
# Sca 4;4;1;
@ WALL back
# Pos 0;60;-410;
# Sca 4.2;2.2;1;
@ WALL front
# Pos 0;60;410;
# Sca 4.2;2.2;1;
@ WALL left
# Pos -410;60;0;
# YRo 90;
# Sca 4.2;2.2;1;
@ WALL right
# Pos 410;60;0;
# YRo 90;
# Sca 4.2;2.2;1;
@ MIRROR
# Pos 0;0;0;
)";

} // namespace

TEST(CameraView, FourSmallDownwardTiltsFromAStartViewStayFinite) {
    // The fault a playtest met: the fourth tilt of 10 pixels made the view NaN for good.
    Matrix view = Matrix::translation(0, -100, -370);
    for (int i = 0; i < 40; ++i) {
        moveView(view, 0, 0, 0, 0, static_cast<float>(10.0 / 768 * PI));
        ASSERT_TRUE(isFinite(view)) << "after tilt " << i + 1;
        EXPECT_NEAR(roll(view), 0, 1e-5);
    }
}

TEST(CameraView, ThousandsOfRandomTurnsKeepTheViewFiniteAndLevel) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> step(-0.05f, 0.05f);
    std::uniform_real_distribution<float> move(-3, 3);
    Matrix view = Matrix::translation(0, -100, -370);
    for (int i = 0; i < 20000; ++i) {
        moveView(view, move(random), move(random), move(random), step(random), step(random));
        ASSERT_TRUE(isFinite(view)) << "step " << i;
        ASSERT_NEAR(roll(view), 0, 1e-4) << "step " << i;
        Point up{0, 1, 0, 0};
        transformPoint(view, up);
        ASSERT_GT(up[1], 0.005f);
    }
}

TEST(CameraView, TiltsRightAtTheVerticalLimitAreRefusedOrKeptButNeverNaN) {
    // From level, a tilt to within a hair of the limit on either side, and exactly to it.
    const double limit = std::acos(0.005);
    for (double hair : {-1e-6, -1e-7, 0.0, 1e-7, 1e-6}) {
        for (float sign : {1.0f, -1.0f}) {
            Matrix view = Matrix::translation(10, -100, -370);
            moveView(view, 0, 0, 0, 0.3f, 0);
            const Matrix before = view;
            const bool kept = moveView(view, 0, 0, 0, 0, sign * static_cast<float>(limit + hair));
            ASSERT_TRUE(isFinite(view));
            if (!kept) {
                EXPECT_EQ(view, before);
            }
        }
    }
}

TEST(CameraView, AnUpdateThatIsNoNumberIsDroppedWhole) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    Matrix view = Matrix::translation(0, -100, -370);
    const Matrix before = view;
    EXPECT_FALSE(moveView(view, 1, 0, 0, nan, 0));
    EXPECT_FALSE(moveView(view, 0, 0, 0, 0, nan));
    EXPECT_FALSE(moveView(view, inf, 0, 0, 0, 0));
    EXPECT_FALSE(moveView(view, 0, 0, nan, 0, 0));
    EXPECT_EQ(view, before);
}

TEST(CameraView, ArrowKeysShiftAwayTowardsLeftAndRightOfTheViewerWhateverItsHeading) {
    for (float yaw : {0.0f, 30.0f, 90.0f, 180.0f, -135.0f}) {
        Matrix view = turnedView(yaw);
        moveView(view, 0, 0, 0, 0, 0.4f); // also when looking down
        const Point look = lookDirection(view);
        const float length = std::hypot(look[0], look[2]);
        const float fx = look[0] / length, fz = look[2] / length;
        // The viewer's right: forward turned a quarter clockwise seen from above.
        const float rx = -fz, rz = fx;
        const auto along = [](const Point& p, float x, float z) { return p[0] * x + p[2] * z; };
        const Point away = arrowShift(view, false, true, false, false, 2);
        const Point towards = arrowShift(view, true, false, false, false, 2);
        const Point left = arrowShift(view, false, false, true, false, 2);
        const Point right = arrowShift(view, false, false, false, true, 2);
        EXPECT_NEAR(along(away, fx, fz), 2, 1e-4) << "yaw " << yaw;
        EXPECT_NEAR(along(towards, fx, fz), -2, 1e-4) << "yaw " << yaw;
        EXPECT_NEAR(along(left, rx, rz), -2, 1e-4) << "yaw " << yaw;
        EXPECT_NEAR(along(right, rx, rz), 2, 1e-4) << "yaw " << yaw;
        for (const Point& p : {away, towards, left, right}) {
            EXPECT_EQ(p[1], 0);
            EXPECT_NEAR(std::hypot(p[0], p[2]), 2, 1e-4);
        }
    }
    // Down wins over up, left over right.
    const Matrix view = turnedView(30);
    EXPECT_EQ(arrowShift(view, true, true, false, false, 1),
              arrowShift(view, true, false, false, false, 1));
    EXPECT_EQ(arrowShift(view, false, false, true, true, 1),
              arrowShift(view, false, false, true, false, 1));
}

class CameraInRoom : public ::testing::Test {
  protected:
    void SetUp() override {
        loadTestModels();
        level = levelFromText(ROOM);
    }
    // Moves the view by (tx, ty, tz) in eye space within the room and returns the eye.
    Point moved(Matrix& view, float tx, float ty, float tz) {
        limitCameraMove(view, tx, ty, tz, level->walls);
        EXPECT_TRUE(moveView(view, tx, ty, tz, 0, 0));
        return eyePosition(view);
    }
    std::unique_ptr<Level> level;
};

TEST_F(CameraInRoom, BackingIntoTheFrontWallStopsTenUnitsFromItsFace) {
    Matrix view = Matrix::translation(0, -100, -370); // the eye at z 370, the face at 400
    EXPECT_NEAR(moved(view, 0, 0, -5)[2], 375, 1e-3); // far from it: the whole step
    EXPECT_NEAR(moved(view, 0, 0, -60)[2], 390, 0.01);
    EXPECT_NEAR(moved(view, 0, 0, -60)[2], 390, 0.01); // and no further
    EXPECT_NEAR(moved(view, 0, 0, 30)[2], 360, 0.01);  // away again freely
}

TEST_F(CameraInRoom, OneLongStepCannotPassThroughAWall) {
    Matrix view = Matrix::translation(0, -100, -370);
    const Point eye = moved(view, 0, 0, -500); // would land beyond the 20-unit front wall
    EXPECT_NEAR(eye[2], 390, 0.01);
}

TEST_F(CameraInRoom, AnObliqueApproachStopsAtTheDistanceAndTurningIsNeverStopped) {
    Matrix view = turnedView(-45); // looking towards the left wall and the back
    for (int i = 0; i < 400; ++i) {
        moved(view, 0, 0, 5);
    }
    const Point eye = eyePosition(view);
    EXPECT_NEAR(eye[0], -390, 0.05); // the left wall's face is at -400
    EXPECT_GT(eye[2], -390);
    EXPECT_TRUE(moveView(view, 0, 0, 0, 1.0f, 0.2f)); // against the wall
    EXPECT_NEAR(eyePosition(view)[0], -390, 0.05);
}

TEST_F(CameraInRoom, AnEyeAlreadyTooCloseMayMoveAlongOrAwayButNotCloser) {
    Matrix view = Matrix::translation(0, -100, -395); // 5 from the front wall's face
    EXPECT_NEAR(moved(view, 0, 0, -3)[2], 395, 0.01);
    EXPECT_NEAR(moved(view, 20, 0, 0)[0], -20, 0.01);
    EXPECT_NEAR(moved(view, 0, 0, 3)[2], 392, 0.01);
}

TEST_F(CameraInRoom, AManipulationThatWouldBeNoNumberLeavesTheHolderExactlyAsItWas) {
    Renderable* mirror = selectionFor(level->objects[level->objects.size() - 1]);
    ASSERT_TRUE(dynamic_cast<Holder*>(groupRoot(mirror)));
    mirror->rotateY(0.3f);
    mirror->rotateX(0.2f);
    const GroupPose before = captureGroupPose(mirror);
    ASSERT_EQ(before.locals.size(), 3u); // holder, frame, mirror
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(manipulateFinitely(mirror, [&] { mirror->rotateX(nan); }));
    EXPECT_FALSE(manipulateFinitely(mirror, [&] { mirror->translate(1, nan, 0); }));
    EXPECT_TRUE(captureGroupPose(mirror) == before);
    EXPECT_TRUE(isFinite(mirror->getWorldMatrix()));
    EXPECT_TRUE(manipulateFinitely(mirror, [&] { mirror->rotateY(0.1f); }));
    EXPECT_FALSE(captureGroupPose(mirror) == before);
}

TEST(CameraKeys, AWheelNotchMovesTheSameAtAnyFrameRateWhileKeysFollowTheFrameTime) {
    float tx, ty, tz;
    for (float k : {0.3f, 1.0f, 3.3f}) {
        cameraMove(CameraKeys{}, 2, k, tx, ty, tz);
        EXPECT_EQ(tz, 2 * WHEEL_STEP);
        EXPECT_EQ(tx, 0);
        CameraKeys keys;
        keys.forward = keys.right = true;
        cameraMove(keys, 2, k, tx, ty, tz);
        EXPECT_FLOAT_EQ(tz, 2 * k); // W wins over the wheel
        EXPECT_FLOAT_EQ(tx, -2 * k);
    }
}

TEST_F(CameraInRoom, KeyTurnsMoveTheHeadingAndTiltByFiveDegreesOrOneWithShift) {
    Renderable* mirror = selectionFor(level->objects.back());
    int heading = 0, tilt = 0;
    headingAndTilt(*mirror, heading, tilt);
    EXPECT_EQ(headingText(heading, tilt), "HEADING 0 TILT 0");
    const auto press = [&](Command command, bool fine) {
        float yaw = 0, t = 0;
        ASSERT_TRUE(keyTurn(command, fine, yaw, t));
        mirror->rotateY(yaw);
        mirror->rotateX(t);
        headingAndTilt(*mirror, heading, tilt);
    };
    for (int i = 0; i < 9; ++i) {
        press(Command::TurnRight, false);
    }
    EXPECT_EQ(heading, 45);
    press(Command::TurnLeft, true);
    EXPECT_EQ(heading, 44);
    press(Command::TiltDown, false);
    press(Command::TiltDown, false);
    EXPECT_EQ(tilt, -10);
    press(Command::TiltUp, true);
    EXPECT_EQ(headingText(heading, tilt), "HEADING 44 TILT -9");
    float yaw, t;
    EXPECT_FALSE(keyTurn(Command::MoveForward, false, yaw, t));
}
