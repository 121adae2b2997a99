#include "app/Callbacks.h"

#include "app/Display.h"
#include "app/Game.h"
#include "app/Window.h"
#include "render/GL.h"
#include "render/Textures.h"
#include "rules/Commands.h"
#include "rules/GameFlow.h"
#include "rules/Interaction.h"
#include "rules/Settings.h"
#include "sound/Music.h"
#include "ui/UserInterface.h"

#include <iostream>

namespace {

bool displaySwitchPending = false;

// Tears the window down and opens it again in the new mode, with every OpenGL object and a new
// interface.
void switchDisplay() {
    reinitialising = true;
    glFlush();
    // The interface frees its pictures while their context is still there.
    userInterface.reset();
    // Only the window goes: the library stays, with its clock and its connection to the
    // display (a virtual X server resets when its last client leaves, and a window asked for
    // meanwhile can fail).
    windowClose();
    initDisplay();
    createUserInterface();
    reinitialising = false;
}

} // namespace

void keyCallback(int key, int action) {
    if (action != GLFW_PRESS) {
        return;
    }
    const bool ctrl = windowKeyDown(GLFW_KEY_LCTRL) || windowKeyDown(GLFW_KEY_RCTRL);
    const bool shift = windowKeyDown(GLFW_KEY_LSHIFT) || windowKeyDown(GLFW_KEY_RSHIFT);
    const GameKey gameKey = gameKeyFor(key, ctrl, shift);
    if (gameKey != GameKey::None) {
        gameKeyPressed(gameKey);
        return;
    }
    const CommandResult r = runCommand(key, gameSettings, energy, gameOver, std::cout);
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
    if (ui && r.selectFpsCounter) {
        ui->selectCounter("fps");
    }
    if (ui && r.clearMessage) {
        ui->showMessage("", 0);
    }
    if (r.toggleMusic) {
        const bool playing = toggleMusic();
        const char* caption = playing ? "MUSIC ON" : "MUSIC OFF";
        if (ui) {
            ui->setToggle(caption, "audio", playing);
            ui->flashMessage(caption);
        }
        std::cout << "\nAudio: " << (playing ? 1 : 0) << std::endl;
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
        return;
    }
    if (button == GLFW_MOUSE_BUTTON_LEFT) {
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
            }
            clickX = x;
            clickY = y;
            lastClickTime = now;
        } else {
            // A pick still pending from the first click stays: when both clicks arrive within
            // one frame, it is what selects the element that the double click carries.
            doubleClicked = true;
            warpPending = true;
        }
    } else if (button == GLFW_MOUSE_BUTTON_RIGHT) {
        clickX = x;
        clickY = y;
    }
}

void runPendingDisplaySwitch() {
    if (displaySwitchPending) {
        displaySwitchPending = false;
        switchDisplay();
    }
}
