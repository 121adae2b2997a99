#include "app/Manipulation.h"

#include "app/Display.h"
#include "app/Window.h"
#include "core/Renderable.h"
#include "laser/LaserBeam.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/Picking.h"
#include "render/SceneDrawing.h"
#include "rules/CommandTable.h"
#include "rules/Interaction.h"
#include "rules/Placement.h"
#include "rules/Settings.h"
#include "rules/UndoHistory.h"
#include "ui/UserInterface.h"

#include <memory>
#include <optional>
#include <string>

namespace {

std::unique_ptr<LaserBeam> probeBeam;
/// A key that must be released before it acts again (-1: none).
int suppressedKey = -1;
/// The turn of the drag that is going on.
std::optional<DragTurn> drag;
bool dragMoved = false;
/// What refused the carried element its place in the last frame (null: nothing).
const ActiveObject* lastBlocker = nullptr;

// Shows a message in the counter field.
void flash(const std::string& message) {
    if (userInterface) {
        userInterface->flashMessage(message);
    }
}

// A held command, as the frame's controls see it: nothing while the introduction is open, and
// not by the key that closed it until that is let go.
bool held(Command command) {
    return !(introductionOpen || menuOpen) && keyBindings.isHeld(command, [](int key) {
        return key != suppressedKey && windowKeyDown(key);
    });
}

// Turns a mouse drag into (dx, dy) as fractions of the screen, moving the drag origin along.
void dragDelta(int x, int y, float& dx, float& dy) {
    dx = static_cast<float>(x - clickX) / gameSettings.screenWidth;
    dy = static_cast<float>(y - clickY) / gameSettings.screenHeight;
    clickX = x;
    clickY = y;
}

// Move mode: the selected element's holder follows the wall under the mouse.
void followMouseOverWalls() {
    int x = 0, y = 0;
    windowGetMousePos(x, y);
    const ScreenProjection screen = currentScreenProjection(viewMatrix);
    const GLint* viewport = screen.viewport;
    const GLdouble* projection = screen.projection;
    const GLdouble* modelview = screen.modelview;
    const double wy = viewport[3] - y - 1;
    double n[3], f[3];
    gluUnProject(x, wy, 0, modelview, projection, viewport, &n[0], &n[1], &n[2]);
    gluUnProject(x, wy, 1, modelview, projection, viewport, &f[0], &f[1], &f[2]);

    probeBeam = std::make_unique<LaserBeam>(COLOR_WHITE, FULL_INTENSITY, nullptr);
    probeBeam->translate(static_cast<float>(n[0]), static_cast<float>(n[1]),
                         static_cast<float>(n[2]));
    const double d[3] = {f[0] - n[0], f[1] - n[1], f[2] - n[2]};
    const float yaw = static_cast<float>(vectorAngle(d[0], 0, d[2], 0, 0, -1));
    const float pitch = static_cast<float>(vectorAngle(d[0], d[1], d[2], d[0], 0, d[2]));
    probeBeam->rotateY(d[0] > 0 ? -yaw : yaw);
    probeBeam->rotateX(d[1] > 0 ? pitch : -pitch);

    float hit[3] = {0, 0, 0}, normal[3] = {0, 0, 0};
    Level& level = *currentLevel;
    const std::vector<ActiveObject*> walls = level.getWalls();
    const int wall = traceLaser(*probeBeam, hit, normal, true, walls, level);
    Renderable* root = groupRoot(selectedElement);

    if (warpPending) {
        Point foot{0, -200, 0, 1};
        transformPoint(root->getWorldMatrix(), foot);
        double wx = 0, wz = 0, wyFoot = 0;
        gluProject(foot[0], foot[1], foot[2], modelview, projection, viewport, &wx, &wyFoot, &wz);
        windowSetMousePos(static_cast<int>(wx), static_cast<int>(viewport[3] - wyFoot - 1));
        warpPending = false;
        return;
    }
    if (wall < 0) {
        return; // the ray met no wall: the element stays where it is
    }
    manipulateFinitely(root, [&] {
        placeOnWall(*root, root->getWorldMatrix(), {hit[0], hit[1], hit[2], 1},
                    {normal[0], normal[1], normal[2], 0});
    });
    // Moved onto a spot where it cannot be set down: say why, once for each thing in the way.
    const ActiveObject* blocker = placementBlocker(level, selectedElement);
    if (blocker && blocker != lastBlocker) {
        flash(refusalText(*blocker));
    }
    lastBlocker = blocker;
}

} // namespace

void suppressHeldKey(int key) {
    suppressedKey = key;
}

void updateCameraAndManipulation(double frameTime) {
    if (suppressedKey >= 0 && !windowKeyDown(suppressedKey)) {
        suppressedKey = -1;
    }
    // A button that went down on the interface is the interface's until the frame sees it up.
    const bool leftDown = windowMouseButtonDown(GLFW_MOUSE_BUTTON_LEFT);
    const bool rightDown = windowMouseButtonDown(GLFW_MOUSE_BUTTON_RIGHT);
    leftPressOnInterface = leftPressOnInterface && leftDown;
    rightPressOnInterface = rightPressOnInterface && rightDown;
    const bool turningView = rightDown && !rightPressOnInterface && !(introductionOpen || menuOpen);
    const bool turningElement =
        leftDown && !leftPressOnInterface && !(introductionOpen || menuOpen) && selectionActive && !doubleClicked;
    const float k = static_cast<float>(frameTime / MOTION_FRAME_TIME);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    if (held(Command::Brighter)) {
        gameSettings.ambientLevel += 0.02f * k;
    } else if (held(Command::Darker)) {
        gameSettings.ambientLevel -= 0.02f * k;
    }

    CameraKeys keys;
    keys.left = held(Command::MoveLeft);
    keys.right = held(Command::MoveRight);
    keys.down = held(Command::MoveDown);
    keys.up = held(Command::MoveUp);
    keys.forward = held(Command::MoveForward);
    keys.back = held(Command::MoveBack);
    const int wheel = windowMouseWheel();
    float tx = 0, ty = 0, tz = 0;
    cameraMove(keys, introductionOpen || menuOpen ? 0 : wheel - lastWheel, k, tx, ty, tz);
    lastWheel = wheel;

    int x = 0, y = 0;
    windowGetMousePos(x, y);
    float yaw = 0, pitch = 0;
    if (turningView) {
        float dx, dy;
        dragDelta(x, y, dx, dy);
        yaw = dx * static_cast<float>(PI) * gameSettings.lookSpeed;
        pitch = dy * static_cast<float>(PI) * gameSettings.lookSpeed *
                (gameSettings.invertLook ? -1.0f : 1.0f);
    }
    if (turningElement) {
        windowShowCursor(false);
        float dx, dy;
        dragDelta(x, y, dx, dy);
        undoHistory.begin(selectedElement, UndoHistory::Kind::Turn);
        if (!drag || drag->element() != selectedElement) {
            drag.emplace(*selectedElement); // the press may have picked another element
            dragMoved = false;
        }
        // From the first move on (a click alone turns nothing), with the readout all along;
        // Ctrl held snaps the heading and the tilt to whole steps.
        dragMoved = dragMoved || dx != 0 || dy != 0;
        if (dragMoved) {
            const bool snap = windowKeyDown(GLFW_KEY_LCTRL) || windowKeyDown(GLFW_KEY_RCTRL);
            std::string readout;
            const float speed = gameSettings.turnSpeed;
            manipulateFinitely(selectedElement,
                               [&] { readout = drag->step(dx * speed, dy * speed, snap); });
            flash(readout);
        }
    } else {
        drag.reset();
        dragMoved = false;
        windowShowCursor(true);
        if (undoHistory.isOpen(UndoHistory::Kind::Turn)) {
            undoHistory.close(); // the button was released: the turn is one step
        }
    }

    if (selectionActive) {
        const float step = 0.5f * k * (held(Command::Fine) ? FAST_SHIFT_FACTOR : 1.0f);
        const Point shift =
            arrowShift(viewMatrix, held(Command::ShiftNear), held(Command::ShiftAway),
                       held(Command::ShiftLeft), held(Command::ShiftRight), step);
        const float lift = held(Command::ShiftUp) ? step : held(Command::ShiftDown) ? -step : 0.0f;
        if (shift[0] != 0 || shift[2] != 0 || lift != 0) {
            undoHistory.begin(selectedElement, UndoHistory::Kind::Shift);
            manipulateFinitely(selectedElement,
                               [&] { selectedElement->translate(shift[0], lift, shift[2]); });
        }
    }

    limitCameraMove(viewMatrix, tx, ty, tz, currentLevel->walls);
    moveView(viewMatrix, tx, ty, tz, yaw, pitch);
    glMultMatrixf(viewMatrix.data());
    setFrameLighting(*currentLevel);

    if (doubleClicked && selectionActive) {
        undoHistory.begin(selectedElement, UndoHistory::Kind::Carry);
        followMouseOverWalls();
    } else {
        lastBlocker = nullptr;
        if (undoHistory.isOpen(UndoHistory::Kind::Carry)) {
            undoHistory.close(); // set down: the carry is one step
        }
    }
}
