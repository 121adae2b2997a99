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
#include "rules/KeyCarry.h"
#include "rules/Placement.h"
#include "rules/Settings.h"
#include "rules/UndoHistory.h"
#include "ui/UserInterface.h"

#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace {

/// How fast the look keys turn the view, radians a second, once held longer than LOOK_KEY_HOLD
/// seconds; a press turns it LOOK_KEY_STEP radians at once.
constexpr float LOOK_KEY_SPEED = 1.2f;
constexpr double LOOK_KEY_HOLD = 0.25;
constexpr float LOOK_KEY_STEP = 0.05f;
constexpr Command LOOK_COMMANDS[] = {Command::LookLeft, Command::LookRight, Command::LookUp,
                                     Command::LookDown};
/// When each look key (LOOK_COMMANDS order) last went down, window time.
double lookPressedAt[4] = {0, 0, 0, 0};

// The view's turn for each look command, as (yaw, pitch) signs.
void lookTurn(Command command, float amount, float& yaw, float& pitch) {
    const float up = gameSettings.invertLook ? -1.0f : 1.0f;
    switch (command) {
    case Command::LookLeft:
        yaw -= amount;
        break;
    case Command::LookRight:
        yaw += amount;
        break;
    case Command::LookUp:
        pitch -= amount * up;
        break;
    case Command::LookDown:
        pitch += amount * up;
        break;
    default:
        break;
    }
}

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

// The part of the window the carry pointer may go to: between the interface's bars.
PointerBounds pointerBounds() {
    PointerBounds b{0, 0, static_cast<float>(gameSettings.screenWidth - 1),
                    static_cast<float>(gameSettings.screenHeight - 1)};
    if (userInterface) {
        b.top = static_cast<float>(userInterface->coveredTop());
        b.bottom -= static_cast<float>(userInterface->coveredBottom());
    }
    return b;
}

// Where the holder's foot shows on the window (pixels from the top-left): where a carry's pointer
// starts.
void footOnWindow(const ScreenProjection& screen, Renderable& root, int& x, int& y) {
    Point foot{0, -200, 0, 1};
    transformPoint(root.getWorldMatrix(), foot);
    double wx = 0, wy = 0, wz = 0;
    gluProject(foot[0], foot[1], foot[2], screen.modelview, screen.projection, screen.viewport, &wx,
               &wy, &wz);
    x = static_cast<int>(wx);
    y = static_cast<int>(screen.viewport[3] - wy - 1);
}

// The holder of the selected element follows the wall, floor or ceiling under the window point
// (x, y), pixels from the top-left: where the ray from the eye through it first meets one.
void carryUnder(const ScreenProjection& screen, int x, int y) {
    double n[3], f[3];
    pointerLine(screen, x, y, n, f);

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
    if (wall < 0) {
        return; // the ray met no wall: the element stays where it is
    }
    Renderable* root = groupRoot(selectedElement);
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

// A carry's frame: the selected element's holder follows the mouse, or the carry pointer. The
// first frame of a carry puts the mouse, or the pointer, where the holder's foot shows.
void followPointerOverWalls() {
    const ScreenProjection screen = currentScreenProjection(viewMatrix);
    if (warpPending || keyCarry.placePending) {
        int x = 0, y = 0;
        footOnWindow(screen, *groupRoot(selectedElement), x, y);
        if (keyCarry.placePending) {
            placePointer(keyCarry, static_cast<float>(x), static_cast<float>(y), pointerBounds());
            keyCarry.placePending = false;
        } else {
            windowSetMousePos(x, y);
        }
        warpPending = false;
        return;
    }
    int x = 0, y = 0;
    if (keyCarry.active) {
        x = static_cast<int>(std::lround(keyCarry.x));
        y = static_cast<int>(std::lround(keyCarry.y));
    } else {
        windowGetMousePos(x, y);
    }
    carryUnder(screen, x, y);
}

// Ends a carry by keys that something else ended (a click, another selection, an undo, a new
// level), or that a double click took over for the mouse.
void followCarryState() {
    if (!keyCarry.active) {
        return;
    }
    if (!doubleClicked || !selectionActive || warpPending) {
        keyCarry.active = false;
        std::cout << "\nCarry set down" << std::endl;
    }
}

} // namespace

void suppressHeldKey(int key) {
    suppressedKey = key;
}

void updateCameraAndManipulation(double frameTime) {
    if (suppressedKey >= 0 && !windowKeyDown(suppressedKey)) {
        suppressedKey = -1;
    }
    followCarryState();
    // A button that went down on the interface is the interface's until the frame sees it up.
    const bool leftDown = windowMouseButtonDown(GLFW_MOUSE_BUTTON_LEFT);
    const bool rightDown = windowMouseButtonDown(GLFW_MOUSE_BUTTON_RIGHT);
    leftPressOnInterface = leftPressOnInterface && leftDown;
    rightPressOnInterface = rightPressOnInterface && rightDown;
    const bool turningView = rightDown && !rightPressOnInterface && !(introductionOpen || menuOpen);
    const bool turningElement = leftDown && !leftPressOnInterface &&
                                !(introductionOpen || menuOpen || editorOpen) && selectionActive &&
                                !doubleClicked;
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
    // A look key held past its first step turns the view on steadily.
    const float look = LOOK_KEY_SPEED * static_cast<float>(frameTime) * gameSettings.lookSpeed;
    for (int i = 0; i < 4; ++i) {
        if (held(LOOK_COMMANDS[i]) && windowTime() - lookPressedAt[i] > LOOK_KEY_HOLD) {
            lookTurn(LOOK_COMMANDS[i], look, yaw, pitch);
        }
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

    // In a carry by keys the arrow keys move the carry pointer instead of shifting the element.
    const bool arrows[POINTER_WAYS] = {held(Command::ShiftAway), held(Command::ShiftNear),
                                       held(Command::ShiftLeft), held(Command::ShiftRight)};
    if (keyCarry.active) {
        glidePointer(keyCarry, arrows, held(Command::Fine), frameTime, pointerBounds());
    }
    if (selectionActive && !editorOpen) { // the editor moves elements on its grid, by presses
        const float step = 0.5f * k * (held(Command::Fine) ? FAST_SHIFT_FACTOR : 1.0f);
        const bool shifting = !keyCarry.active;
        const Point shift = arrowShift(viewMatrix, shifting && arrows[1], shifting && arrows[0],
                                       shifting && arrows[2], shifting && arrows[3], step);
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
        followPointerOverWalls();
    } else {
        lastBlocker = nullptr;
        if (undoHistory.isOpen(UndoHistory::Kind::Carry)) {
            undoHistory.close(); // set down: the carry is one step
        }
    }
}

void lookKeyPressed(int key) {
    if (introductionOpen || menuOpen) {
        return;
    }
    for (int i = 0; i < 4; ++i) {
        for (const KeyChord& chord : keyBindings.keysOf(LOOK_COMMANDS[i])) {
            if (chord.key == key) {
                lookPressedAt[i] = windowTime();
                float yaw = 0, pitch = 0;
                lookTurn(LOOK_COMMANDS[i], LOOK_KEY_STEP * gameSettings.lookSpeed, yaw, pitch);
                moveView(viewMatrix, 0, 0, 0, yaw, pitch);
                return;
            }
        }
    }
}

bool carryKey(int key, Command command) {
    if (introductionOpen) {
        return false; // the key closes the introduction and does nothing else
    }
    Renderable* selected = selectionActive ? selectedElement : nullptr;
    const bool carried = doubleClicked && selected != nullptr;
    const ActiveObject* blocker = carried ? placementBlocker(*currentLevel, selected) : nullptr;
    const CarryState state{selected != nullptr, carried, carried && keyCarry.active,
                           blocker != nullptr};
    switch (carryKeyAction(state, key, command, keyBindings)) {
    case CarryKeyAction::None:
        return false;
    case CarryKeyAction::Start:
        startKeyCarry(keyCarry);
        doubleClicked = true;
        warpPending = false;
        std::cout << "\nCarry started" << std::endl;
        return true;
    case CarryKeyAction::NoSelection:
        flash("SELECT AN ELEMENT FIRST");
        return true;
    case CarryKeyAction::Refuse:
        flash(refusalText(*blocker));
        return true;
    case CarryKeyAction::SetDown:
        doubleClicked = false; // the frame closes the carry's step
        if (keyCarry.active) {
            keyCarry.active = false;
            std::cout << "\nCarry set down" << std::endl;
        }
        return true;
    case CarryKeyAction::Cancel:
        if (undoHistory.isOpen(UndoHistory::Kind::Carry)) {
            undoHistory.cancel();
            updateLasers(*currentLevel); // the beams and doors follow at once, as on an undo
        }
        doubleClicked = false;
        keyCarry.active = false;
        std::cout << "\nCarry cancelled" << std::endl;
        return true;
    case CarryKeyAction::Step: {
        PointerWay way = PointerWay::Up;
        pointerWayOf(key, keyBindings, way);
        stepPointer(keyCarry, way, keyBindings.isHeld(Command::Fine, windowKeyDown),
                    pointerBounds());
        return true;
    }
    }
    return false;
}
