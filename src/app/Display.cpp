#include "app/Display.h"

#include "app/Callbacks.h"
#include "app/Sounds.h"
#include "app/Window.h"
#include "render/GL.h"
#include "render/SceneDrawing.h"
#include "render/Shaders.h"
#include "render/ShadowMap.h"
#include "render/Textures.h"
#include "rules/CommandTable.h"
#include "rules/Settings.h"
#include "sound/Music.h"
#include "ui/UserInterface.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <iostream>

void initDisplay() {
    const GameSettings& s = gameSettings;
    windowInit();
    if (!windowOpen(s.screenWidth, s.screenHeight, 0, 0, 0, 8, 16, 16,
                    s.windowMode == GLFW_FULLSCREEN)) {
        std::cerr << "Could not create window" << std::endl;
        windowTerminate();
        return;
    }
    const GLubyte* version = glGetString(GL_VERSION);
    std::cout << "OpenGL Version " << (version ? reinterpret_cast<const char*>(version) : "")
              << " detected" << std::endl;
    glewInit();
    windowSetMouseButtonCallback(mouseButtonCallback);
    windowSetKeyCallback(keyCallback);
    windowShowCursor(true);
    ilInit();
    iluInit();

    buildFrustumPlanes();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW, static_cast<double>(s.screenWidth) / s.screenHeight, NEAR_PLANE,
                   FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);

    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearDepth(1.0);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_CULL_FACE);
    glEnable(GL_NORMALIZE);
    glClearColor(0, 0, 0, 0);

    const float material[4] = {0.2f, 0.2f, 0.2f, 0.0f};
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 96);
    glDisable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);

    const float black[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1}, dim[4] = {0.3f, 0.3f, 0.3f, 1};
    glLightfv(GL_LIGHT1, GL_POSITION, s.lightPosition);
    glLightfv(GL_LIGHT1, GL_AMBIENT, black);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT1, GL_SPECULAR, white);
    glEnable(GL_LIGHT1);
    glLightfv(GL_LIGHT2, GL_AMBIENT, dim);
    glLightfv(GL_LIGHT2, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT2, GL_SPECULAR, white);

    createVolumeTextures();
    loadImageTextures();
    shaderProgram = buildShaderProgram();
    createShadowTarget();
}

std::unique_ptr<UserInterface> userInterface;

namespace {

// A click on a switch is heard, then does what its key does.
void runSwitchCommand(Command command) {
    playCue(Cue::Click);
    runGameCommand(command);
}

} // namespace

void createUserInterface() {
    userInterface.reset(); // its pictures go while their context is current
    userInterface = std::make_unique<UserInterface>(runSwitchCommand, windowTime);
    windowSetMinimumSize(userInterface->minimumWidth(), UserInterface::MINIMUM_HEIGHT);
    for (const CommandInfo& command : commandTable()) {
        if (command.switchState != nullptr) {
            showSwitch(command.command, gameSettings);
        }
    }
}

SwitchState showSwitch(Command command, const GameSettings& settings) {
    const SwitchState state = switchState(command, {settings, isMusicPlaying()});
    if (userInterface) {
        userInterface->setToggle(state.caption, commandInfo(command).id, state.on);
    }
    return state;
}
