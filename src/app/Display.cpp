#include "app/Display.h"

#include "app/Callbacks.h"
#include "app/Window.h"
#include "render/GL.h"
#include "render/SceneDrawing.h"
#include "render/Shaders.h"
#include "render/ShadowMap.h"
#include "render/Textures.h"
#include "rules/Settings.h"
#include "sound/Music.h"
#include "ui/UserInterface.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <iostream>

void initDisplay() {
    const GameSettings& s = gameSettings;
    windowInit();
    if (!windowOpen(s.screenWidth, s.screenHeight, 0, 0, 0, 8, 16, 16, s.windowMode)) {
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

void createUserInterface() {
    userInterface.reset(); // its pictures go while their context is current
    userInterface = std::make_unique<UserInterface>(keyCallback, windowTime);
    windowSetMinimumSize(userInterface->minimumWidth(), UserInterface::MINIMUM_HEIGHT);
    const GameSettings& s = gameSettings;
    UserInterface& ui = *userInterface;
    ui.setToggle(s.wireframe ? "WIREFRAME MODE ON" : "WIREFRAME MODE OFF", "wireframe",
                 s.wireframe);
    ui.setToggle(s.linearFiltering ? "BILINEAR TEXTURING" : "NEAREST NEIGHBOR TEXTURING", "texture",
                 s.linearFiltering);
    ui.setToggle(!s.mipmapping    ? "MIP MAPPING: OFF"
                 : s.mipmapLinear ? "MIP MAPPING: LINEAR"
                                  : "MIP MAPPING: NEAREST NEIGHBOR",
                 "mipmap", s.mipmapping);
    ui.setToggle(s.frustumCulling ? "VIEW FRUSTUM CULLING ON" : "VIEW FRUSTUM CULLING OFF",
                 "frustum", s.frustumCulling);
    ui.setToggle(s.showBoundingSpheres ? "BOUNDING SPHERES ON" : "BOUNDING SPHERES OFF",
                 "boundingsphere", s.showBoundingSpheres);
    ui.setToggle(s.transparency ? "TRANSPARENCY ON" : "TRANSPARENCY OFF", "transparency",
                 s.transparency);
    const bool music = isMusicPlaying();
    ui.setToggle(music ? "MUSIC ON" : "MUSIC OFF", "audio", music);
    ui.setToggle(s.laserPower ? "LASER POWER ON" : "LASER POWER OFF", "power", s.laserPower);
    ui.setToggle("EXIT BEAMWORKS", "exit", false);
    const bool full = s.windowMode == GLFW_FULLSCREEN;
    ui.setToggle(full ? "FULLSCREEN MODE" : "WINDOW MODE", "fullscreen", full);
    const bool light = s.ambientLevel >= 0.2f;
    ui.setToggle(light ? "LIGHT ON" : "LIGHT OFF", "light", light);
    ui.setToggle(!s.mirroring         ? "MIRRORING OFF"
                 : !s.mirroringDepth2 ? "MIRRORING DEPTH 1"
                                      : "MIRRORING DEPTH 2",
                 "mirroring", s.mirroring);
}
