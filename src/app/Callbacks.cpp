#include "app/Callbacks.h"

#include "app/Commands.h"
#include "app/Display.h"
#include "app/Interaction.h"
#include "app/Settings.h"
#include "app/Window.h"
#include "render/GL.h"
#include "render/Textures.h"
#include "sound/Music.h"
#include "ui/UserInterface.h"

#include <iostream>

namespace {

// Tears the window down and opens it again in the new mode, with every OpenGL object and a new
// interface.
void switchDisplay() {
    reinitialising = true;
    glFlush();
    windowTerminate();
    userInterface.reset();
    initDisplay();
    createUserInterface();
    reinitialising = false;
}

} // namespace

void keyCallback(int key, int action) {
    if (action != GLFW_PRESS) {
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
    if (r.switchDisplay) {
        switchDisplay();
    }
}

void mouseButtonCallback(int button, int action) {
    int x = 0, y = 0;
    windowGetMousePos(x, y);
    if (button == GLFW_MOUSE_BUTTON_LEFT && userInterface) {
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
            }
            clickX = x;
            clickY = y;
            lastClickTime = now;
        } else {
            doubleClicked = true;
            warpPending = true;
            pickRequested = false;
        }
    } else if (button == GLFW_MOUSE_BUTTON_RIGHT) {
        clickX = x;
        clickY = y;
    }
}
