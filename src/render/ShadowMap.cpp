#include "render/ShadowMap.h"

#include "elements/ColorFilter.h"
#include "elements/Light.h"
#include "laser/LaserBeam.h"
#include "level/Level.h"
#include "render/Frustum.h"
#include "render/GL.h"
#include "render/RenderOptions.h"
#include "render/SceneDrawing.h"
#include "render/ShadowState.h"
#include "rules/Settings.h"

#include <cstdint>
#include <iostream>

namespace {

GLuint shadowTexture = 0;
GLuint shadowFramebuffer = 0;
ShadowState shadowState;
int shadowPasses = 0;

constexpr double LIGHT_FIELD_OF_VIEW = 120.0;
constexpr double LIGHT_NEAR = 1.0;
constexpr double LIGHT_FAR = 2000.0;

double screenAspect() {
    return static_cast<double>(gameSettings.screenWidth) / gameSettings.screenHeight;
}

bool castsShadow(Renderable* object) {
    return !dynamic_cast<LaserBeam*>(object) && !dynamic_cast<ColorFilter*>(object);
}

// Describes what the depth pass would draw; true when a caster's mesh changes from one query to
// the next (the pass then runs every frame, as the mesh's pace depends on its queries).
bool describeShadowScene(const Light& light) {
    ShadowState& s = shadowState;
    s.begin();
    s.add(reinterpret_cast<std::uintptr_t>(&light));
    s.add(light.lightViewMatrix);
    s.add(screenAspect());
    bool moving = false;
    for (Renderable* object : sceneObjects) {
        if (!castsShadow(object)) {
            continue;
        }
        object->refreshedWorldMatrix(); // brings the version up to date
        s.add(reinterpret_cast<std::uintptr_t>(object));
        s.add(object->worldVersion());
        s.add(object->modelVersion());
        // A selected frame or lamp draws its outline into the map as well.
        s.add(std::uint64_t{object->isSelectionRelated()});
        moving = moving || object->isModelMoving();
    }
    return moving;
}

} // namespace

void createShadowTarget() {
    glActiveTexture(GL_TEXTURE0 + SHADOW_TEXTURE_UNIT);
    glGenTextures(1, &shadowTexture);
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, SHADOW_MAP_SIZE, SHADOW_MAP_SIZE, 0,
                 GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glBindTexture(GL_TEXTURE_2D, 0);

    glGenFramebuffersEXT(1, &shadowFramebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, shadowFramebuffer);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D,
                              shadowTexture, 0);
    shadowState.invalidate();
    const GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    if (status == GL_FRAMEBUFFER_COMPLETE_EXT) {
        std::cout << "no error -!--- " << status << std::endl;
    } else {
        std::cout << "ERROR -!--- " << status << std::endl;
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glActiveTexture(GL_TEXTURE0);
}

void invalidateShadowMap() {
    shadowState.invalidate();
}

int shadowMapPasses() {
    return shadowPasses;
}

void renderShadowMap() {
    Level& level = *currentLevel;
    if (level.lights.empty()) {
        std::cout << "No Light to create shadowmap for!" << std::endl;
        return;
    }
    const Light& light = *level.lights.front();
    sceneObjects = level.objects; // copied into the kept buffer: no allocation
    const bool moving = describeShadowScene(light);

    glActiveTexture(GL_TEXTURE0 + SHADOW_TEXTURE_UNIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    if (renderOptions.shadowEveryFrame || moving || shadowState.changed()) {
        ++shadowPasses;
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, shadowFramebuffer);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glViewport(0, 0, SHADOW_MAP_SIZE, SHADOW_MAP_SIZE);

        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(LIGHT_FIELD_OF_VIEW, screenAspect(), LIGHT_NEAR, LIGHT_FAR);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glMultMatrixf(light.lightViewMatrix.data());
        glTranslatef(0, 0, 5);

        glCullFace(GL_FRONT);
        glPolygonOffset(1.1f, 4.0f);
        glEnable(GL_POLYGON_OFFSET_FILL);
        for (Renderable* object : sceneObjects) {
            if (!castsShadow(object)) {
                continue;
            }
            glPushMatrix();
            glMultMatrixf(object->getWorldMatrix().data());
            drawObjectMesh(object, true, false, true);
            glPopMatrix();
        }
        glDisable(GL_POLYGON_OFFSET_FILL);
        glPopMatrix();
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        shadowState.markRendered();
    }

    // Eye space of the main view -> light clip space -> [0, 1] map coordinates and depth: the
    // view moves without a new map.
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(0.5f, 0.5f, 0.5f);
    glScalef(0.5f, 0.5f, 0.5f);
    gluPerspective(LIGHT_FIELD_OF_VIEW, screenAspect(), LIGHT_NEAR, LIGHT_FAR);
    glMultMatrixf(light.lightViewMatrix.data());
    glTranslatef(0, 0, 5);
    glMultMatrixf(inverseViewMatrix.data());

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW, screenAspect(), NEAR_PLANE, FAR_PLANE);
    glActiveTexture(GL_TEXTURE0);
    glMatrixMode(GL_MODELVIEW);
}
