#include "app/Callbacks.h"

#include "app/Display.h"
#include "app/Editor.h"
#include "app/FrontDoor.h"
#include "app/Game.h"
#include "app/Guidance.h"
#include "app/Manipulation.h"
#include "app/Window.h"
#include "core/Renderable.h"
#include "elements/ActiveObject.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/Textures.h"
#include "rules/CommandTable.h"
#include "rules/Commands.h"
#include "rules/Interaction.h"
#include "rules/LightReadout.h"
#include "rules/Placement.h"
#include "rules/Settings.h"
#include "rules/UndoHistory.h"
#include "rules/ViewCommands.h"
#include "sound/Music.h"
#include "ui/UserInterface.h"

#include <iostream>

namespace {

bool displaySwitchPending = false;
/// The overview key's way back.
OverviewReturn overviewReturn;
/// A key press closed the introduction in this frame's events: the character it brings ('#')
/// belongs to it.
bool swallowCharacter = false;

// Tears the window down and opens it again in the new mode, with every OpenGL object and a new
// interface.
void switchDisplay() {
    reinitialising = true;
    glFlush();
    // The interface frees its pictures while their context is still there; what it shows
    // comes back on the new one.
    const UserInterface::State shown =
        userInterface ? userInterface->captureState() : UserInterface::State{};
    userInterface.reset();
    // Only the window goes: the library stays, with its clock and its connection to the
    // display (a virtual X server resets when its last client leaves, and a window asked for
    // meanwhile can fail).
    windowClose();
    initDisplay();
    createUserInterface();
    if (userInterface) {
        userInterface->restoreState(shown);
    }
    windowSetTitle("Beamworks");
    reinitialising = false;
}

// Shows a message in the counter field, unless it is empty.
void flash(const std::string& message) {
    if (userInterface && !message.empty()) {
        userInterface->flashMessage(message);
    }
}

// The frustum of the window's part between the bars, where the scene shows.
Frustum sceneFrustum() {
    const int width = gameSettings.screenWidth, height = gameSettings.screenHeight;
    ScreenRect scene{0, 0, width, height};
    if (userInterface) {
        scene.y0 = userInterface->coveredBottom();
        scene.y1 = height - userInterface->coveredTop();
    }
    return frustumForRectangle(scene, width, height);
}

} // namespace

void keyCallback(int key, int action) {
    if (action != GLFW_PRESS) {
        return;
    }
    if (key == '#' && swallowCharacter) {
        return; // the character of the key press that closed the introduction
    }
    const bool ctrl = windowKeyDown(GLFW_KEY_LCTRL) || windowKeyDown(GLFW_KEY_RCTRL);
    const bool shift = windowKeyDown(GLFW_KEY_LSHIFT) || windowKeyDown(GLFW_KEY_RSHIFT);
    if (menuOpen) {
        menuKey(key, ctrl, shift);
        return;
    }
    if (editorIsOpen()) {
        if (editorKey(key, ctrl, shift)) {
            return;
        }
    } else if (ctrl && key == 'E') {
        openEditor(levelFileName, true); // a copy of the level played
        return;
    }
    const Command command = keyBindings.commandFor(key, ctrl, shift);
    if (carryKey(key, command)) {
        return; // ESC takes a carry by keys back before it leaves the level
    }
    if (command == Command::Quit && isTitleFirst()) {
        openMenu(MenuScreen::Title); // a level reached from the title goes back to it
        return;
    }
    lookKeyPressed(key);
    if (introductionOpen && command != Command::Help && command != Command::Settings) {
        // The first key closes the introduction and does nothing else, not even while held.
        closeLevelIntroduction();
        suppressHeldKey(key);
        swallowCharacter = true;
        return;
    }
    runGameCommand(command);
}

void runGameCommand(Command command) {
    switch (command) {
    case Command::NextLevel:
    case Command::PreviousLevel:
    case Command::Restart:
    case Command::Undo:
    case Command::Redo:
    case Command::Hint:
        playThroughCommand(command);
        return;
    case Command::Settings:
        openMenu(MenuScreen::Settings);
        return;
    default:
        break;
    }
    float yaw = 0, tilt = 0;
    if (keyTurn(command, keyBindings.isHeld(Command::Fine, windowKeyDown), yaw, tilt)) {
        flash(keyTurnSelected(selectionActive ? selectedElement : nullptr, yaw, tilt, doubleClicked,
                              undoHistory));
        return;
    }
    if (command == Command::SelectNext || command == Command::SelectPrevious) {
        Renderable* next = steppedSelection(currentLevel->activeObjects,
                                            selectionActive ? selectedElement : nullptr,
                                            command == Command::SelectNext ? 1 : -1);
        if (next != nullptr) {
            selectElement(next);
            if (const auto* element = dynamic_cast<const ActiveObject*>(next)) {
                const std::string name = elementName(*currentLevel, *element);
                std::cout << "\nSelected: " << name << std::endl;
                flash(name);
            }
        }
        return;
    }
    if (command == Command::LookAtSelection) {
        flash(lookAtSelection(viewMatrix, selectionActive ? selectedElement : nullptr));
        return;
    }
    if (command == Command::Overview) {
        const bool back = toggleOverview(viewMatrix, overviewReturn, *currentLevel, sceneFrustum());
        std::cout << (back ? "\nBack from the overview" : "\nOverview") << std::endl;
        return;
    }
    const CommandResult r = runCommand(command, gameSettings, energy, gameOver, std::cout);
    if (!r.handled) {
        return;
    }
    UserInterface* ui = userInterface.get();
    if (r.reapplyFilters && r.filtersBeforeToggle) {
        reapplyImageTextureFilters();
    }
    if (ui && !r.toggleId.empty()) {
        ui->setToggle(r.caption, r.toggleId, r.on);
        ui->flashMessage(r.caption);
    }
    if (r.reapplyFilters && !r.filtersBeforeToggle) {
        reapplyImageTextureFilters();
    }
    if (ui && (r.selectFpsCounter || r.selectLaserCounter)) {
        ui->selectCounter(r.selectFpsCounter ? "fps" : "nol");
    }
    if (ui && r.clearMessage) {
        ui->showMessage("", 0);
    }
    if (r.toggleMusic) {
        const bool playing = toggleMusic();
        const SwitchState shown = showSwitch(Command::Music, gameSettings);
        if (ui) {
            ui->flashMessage(shown.caption);
        }
        std::cout << "\nAudio: " << (playing ? 1 : 0) << std::endl;
    }
    if (r.toggleHelp) {
        showHelpPanel();
    }
    if (r.resetView) {
        viewMatrix = startViewMatrix;
    }
    if (r.switchDisplay) {
        // Not from here: the window library is still inside its event processing for this key,
        // and the window it is handling would be gone under it.
        displaySwitchPending = true;
    }
}

void mouseButtonCallback(int button, int action) {
    int x = 0, y = 0;
    windowGetMousePos(x, y);
    if (menuOpen) {
        // Until it is released, the button is the menu's (a click that starts a level does
        // not also pick or turn in it).
        leftPressOnInterface = leftPressOnInterface || button == GLFW_MOUSE_BUTTON_LEFT;
        rightPressOnInterface = rightPressOnInterface || button == GLFW_MOUSE_BUTTON_RIGHT;
        menuMouseButton(button, action, x, y);
        return;
    }
    if (action == GLFW_PRESS && introductionOpen) {
        // The first click closes the introduction and does nothing else: until it is
        // released, the button is the interface's.
        closeLevelIntroduction();
        leftPressOnInterface = leftPressOnInterface || button == GLFW_MOUSE_BUTTON_LEFT;
        rightPressOnInterface = rightPressOnInterface || button == GLFW_MOUSE_BUTTON_RIGHT;
        return;
    }
    const bool onInterface = userInterface && userInterface->isInterfaceAt(x, y);
    if (button == GLFW_MOUSE_BUTTON_LEFT && userInterface) {
        // The pointer may have come to the button since the last frame: the interface learns
        // where it is before the button, or a quick click on a switch would miss it.
        userInterface->getInput().pushMouseInput(gcn::MouseInput(
            gcn::MouseInput::EMPTY, gcn::MouseInput::MOVED, x, y, static_cast<int>(windowTime())));
        userInterface->getInput().pushMouseInput(gcn::MouseInput(
            gcn::MouseInput::LEFT,
            action == GLFW_PRESS ? gcn::MouseInput::PRESSED : gcn::MouseInput::RELEASED, x, y,
            static_cast<int>(windowTime())));
    }
    if (action != GLFW_PRESS) {
        return; // the frame sees the button up and frees it from the interface
    }
    if (button == GLFW_MOUSE_BUTTON_LEFT) {
        if (onInterface || leftPressOnInterface) {
            // A click, drag or double click on the interface stays in it.
            leftPressOnInterface = true;
            return;
        }
        const double now = windowTime();
        const LeftPress press = classifyLeftPress(now, lastClickTime, placementBlocked);
        if (press.single) {
            std::cout << "---klick---" << std::endl;
            if (press.pick) {
                std::cout << "---- 2 ----" << std::endl;
                pickRequested = true;
                doubleClicked = false;
                pickX = x;
                pickY = y;
            } else if (const ActiveObject* blocker = placementBlocker(
                           *currentLevel, selectionActive ? selectedElement : nullptr)) {
                flash(refusalText(*blocker)); // the click cannot set the element down here
            }
            clickX = x;
            clickY = y;
            lastClickTime = now;
        } else if (!editorOpen) {
            // A pick still pending from the first click stays: when both clicks arrive within
            // one frame, it is what selects the element that the double click carries. (The
            // editor moves elements by keys.)
            doubleClicked = true;
            warpPending = true;
        }
    } else if (button == GLFW_MOUSE_BUTTON_RIGHT) {
        if (onInterface) {
            rightPressOnInterface = true;
            return;
        }
        clickX = x;
        clickY = y;
    }
}

void requestDisplaySwitch() {
    displaySwitchPending = true;
}

void beginInputFrame() {
    swallowCharacter = false;
}

bool runPendingDisplaySwitch() {
    if (!displaySwitchPending) {
        return false;
    }
    displaySwitchPending = false;
    switchDisplay();
    return true;
}
