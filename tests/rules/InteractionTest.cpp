// The camera and the manipulation rules without a window: the view stays finite and level
// whatever the turns, the eye stays out of the walls, the arrow keys follow the viewer, and a
// manipulation that would leave a matrix that is no number is dropped.

#include "rules/Interaction.h"
#include "core/Renderable.h"
#include "elements/ColorFilter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Light.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "rules/CommandTable.h"
#include "rules/UndoHistory.h"
#include "rules/ViewCommands.h"
#include "support/LevelText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <tuple>

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

TEST_F(CameraInRoom, KeysTurnAHolderOnTheSurfaceItStandsOnAndItsReadoutNeverJumps) {
    // A playtest's fault: hung on a wall, the turn keys moved the tilt, and at a tilt of 90 the
    // heading jumped. Carried, the keys turn it too, and the carry stays one step.
    Renderable* mirror = selectionFor(level->objects.back());
    Renderable* holder = groupRoot(mirror);
    UndoHistory history;
    std::string readout;
    const auto press = [&](Command command, bool fine) {
        float yaw = 0, tilt = 0;
        ASSERT_TRUE(keyTurn(command, fine, yaw, tilt));
        readout = keyTurnSelected(mirror, yaw, tilt, true, history);
    };
    for (const Point& n :
         {Point{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, -1, 0}, {0, -1, 0, 0}}) {
        history.begin(mirror, UndoHistory::Kind::Carry);
        placeOnWall(*holder, holder->getWorldMatrix(), {0, 0, 0, 1}, n);
        const Orientation start = orientationOf(*mirror);
        for (int i = 1; i <= 72; ++i) { // once round: through +-90 and 180
            press(Command::TiltUp, false);
            const Orientation now = orientationOf(*mirror);
            ASSERT_NEAR(now.heading, start.heading, 1e-3) << i;
            ASSERT_NEAR(std::remainder(now.tilt - start.tilt - 5 * i, 360), 0, 1e-3) << i;
            const Point f = mirror->beamDirection(); // tilted up 90: facing off the surface
            EXPECT_TRUE(std::abs(now.tilt - 90) > 0.1 ||
                        f[0] * n[0] + f[1] * n[1] + f[2] * n[2] > 0.9999f);
        }
        press(Command::TurnLeft, true);
        press(Command::TiltDown, false);
        const Orientation now = orientationOf(*mirror);
        EXPECT_NEAR(std::remainder(now.heading - start.heading + 1, 360), 0, 1e-3);
        EXPECT_NEAR(now.tilt, start.tilt - 5, 1e-3);
        EXPECT_EQ(readout, n[1] == 1 ? "HEADING -1 TILT -5" : headingText(*mirror));
    }
    history.close();
    EXPECT_EQ(history.undoCount(), 1u);
    float yaw, tilt;
    EXPECT_FALSE(keyTurn(Command::MoveForward, false, yaw, tilt));
    EXPECT_EQ(keyTurnSelected(nullptr, yaw, tilt, false, history), "");
}

TEST_F(CameraInRoom, ADragWithCtrlJumpsFromStepToStepWhileTheTurnAddsUpUnderneath) {
    auto lit = levelFromText(std::string(ROOM) + "@ LIGHT\n# XRo -70;\n# YRo 20;\n");
    for (Renderable* element : {selectionFor(lit->objects[lit->objects.size() - 2]),
                                static_cast<Renderable*>(lit->lights.front())}) {
        turnTo(*element, {5, -2});
        DragTurn drag(*element);
        // A tenth of the screen's width turns 9 degrees.
        for (const auto& [dx, dy, snap, readout] :
             {std::tuple{0.1f, 0.0f, true, "HEADING 15 TILT 0"},
              {0.1f, 0.0f, true, "HEADING 30 TILT 0"},
              {0.0f, -0.2f, true, "HEADING 30 TILT -15"},
              {0.0f, 0.0f, false, "HEADING 23 TILT -20"}}) {
            EXPECT_EQ(drag.step(dx, dy, snap), readout);
        }
    }
}

TEST(CameraView, LookingAtAPointTurnsTheViewAboutTheEyeAndStopsShortOfTheVertical) {
    // Ahead, behind and above, then straight below and straight above the eye at (0, 100, 370).
    for (const Point& target :
         {Point{300, -50, -200, 1}, {-40, 180, 900, 1}, {0, -500, 370, 1}, {0, 900, 370, 1}}) {
        Matrix view = turnedView(30);
        ASSERT_TRUE(lookAt(view, target));
        const Point eye = eyePosition(view), was = eyePosition(turnedView(30));
        EXPECT_NEAR(std::hypot(eye[0] - was[0], eye[1] - was[1], eye[2] - was[2]), 0, 1e-3);
        Point seen = target;
        transformPoint(view, seen);
        EXPECT_FALSE(sphereOutside(buildFrustumPlanes(4.0 / 3), seen, 0));
        EXPECT_TRUE(target[0] == 0 || std::hypot(seen[0], seen[1]) < 1e-3f * -seen[2]);
        EXPECT_NEAR(roll(view), 0, 1e-5);
        EXPECT_TRUE(moveView(view, 0, 0, 0, 0, 0)); // the player can go on turning it
    }
    Matrix view = turnedView(30);
    EXPECT_FALSE(lookAt(view, eyePosition(view)));
    EXPECT_EQ(lookAtSelection(view, nullptr), "SELECT AN ELEMENT FIRST");
    EXPECT_EQ(view, turnedView(30));
}

TEST_F(CameraInRoom, TheOverviewShowsThePuzzleFromUnderTheCeilingAndTheKeyGoesBack) {
    const Frustum visible = buildFrustumPlanes(4.0 / 3);
    // A puzzle the room lets the view hold, and one too wide for it.
    for (const auto& [elements, all] :
         {std::pair{"@ FIL\n# Pos 150;0;-100;\n", true},
          {"@ FIL\n# Pos 250;0;-250;\n@ EMI\n# Pos -250;0;200;\n", false}}) {
        level = levelFromText(std::string(ROOM) + elements);
        Matrix view = turnedView(0);
        OverviewReturn back;
        EXPECT_FALSE(toggleOverview(view, back, *level, visible));
        // In the room, under its ceiling, looking down steeply but not straight down.
        const Point eye = eyePosition(view);
        EXPECT_GE(wallClearance(eye, level->walls), CAMERA_WALL_DISTANCE);
        EXPECT_TRUE(std::abs(eye[0]) < 400 && std::abs(eye[2]) < 400 && eye[1] <= 250);
        EXPECT_LE(lookDirection(view)[1], -0.5f);
        EXPECT_TRUE(moveView(view, 0, 0, 0, 0, 0));
        for (ActiveObject* object : level->activeObjects) {
            Point seen = object->getBoundingCenter();
            transformPoint(view, seen);
            EXPECT_TRUE(!all || object->getCollisionRadius() <= 0 ||
                        !sphereOutside(visible, seen, 0));
        }
        moveView(view, 0, 0, 0, 0.3f, -0.1f); // turning there keeps the way back
        EXPECT_TRUE(toggleOverview(view, back, *level, visible));
        EXPECT_EQ(view, turnedView(0));
        toggleOverview(view, back, *level, visible);
        moveView(view, 0, 0, 5, 0, 0); // a step forgets it: the overview again, from here
        EXPECT_FALSE(toggleOverview(view, back, *level, visible));
        EXPECT_NE(view, turnedView(0));
    }
}

TEST_F(CameraInRoom, TabStepsThroughTheTurnableElementsRoundAndRound) {
    auto level = levelFromText("@ EMI\n@ MIR\n@ WAL\n@ FIL\n# Pos 0;0;-300;\n@ HMI\n"
                               "# Pos 0;0;-600;\n@ FIN\n");
    std::vector<Renderable*> order; // mirror, filter, half mirror
    for (const Renderable* at = nullptr; order.size() < 4;) {
        order.push_back(steppedSelection(level->activeObjects, at, 1));
        at = order.back();
    }
    EXPECT_TRUE(dynamic_cast<Mirror*>(order[0]) && dynamic_cast<ColorFilter*>(order[1]) &&
                dynamic_cast<MirrorHalf*>(order[2]));
    EXPECT_EQ(order[3], order[0]);
    EXPECT_EQ(steppedSelection(level->activeObjects, order[0], -1), order[2]);
    EXPECT_EQ(steppedSelection(level->activeObjects, level->goals[0], -1), order[2]);
    EXPECT_EQ(steppedSelection(levelFromText("@ EMI\n")->activeObjects, nullptr, 1), nullptr);
}
