#include "render/ShadowMap.h"

#include "core/Model.h"
#include "elements/ColorFilter.h"
#include "elements/Light.h"
#include "laser/LaserBeam.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/RenderOptions.h"
#include "render/SceneDrawing.h"
#include "render/ShadowState.h"
#include "rules/Frustum.h"
#include "rules/Settings.h"

#include <cstdint>
#include <iostream>
#include <vector>

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

/// The casters of the current description, in its order.
std::vector<Renderable*> casterObjects;
/// Where each of them covers the map.
std::vector<ScreenRect> casterRects;

// The main view's projection, with the model-view matrix mode current.
void loadViewProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW, screenAspect(), NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
}

// Describes what the depth pass would draw; true when a caster's mesh changes from one query to
// the next (the pass then runs every frame, as the mesh's pace depends on its queries).
bool describeShadowScene(const Light& light) {
    ShadowState& s = shadowState;
    s.begin();
    s.add(reinterpret_cast<std::uintptr_t>(&light));
    s.add(light.lightViewMatrix);
    s.add(screenAspect());
    casterObjects.clear();
    bool moving = false;
    for (Renderable* object : sceneObjects) {
        if (!castsShadow(object)) {
            continue;
        }
        object->refreshedWorldMatrix(); // brings the version up to date
        // A selected frame or lamp draws its outline into the map as well.
        s.addCaster(
            {object, object->worldVersion(), object->modelVersion(), object->isSelectionRelated()});
        casterObjects.push_back(object);
        moving = moving || object->isModelMoving();
    }
    return moving;
}

// The light's view of the world, as the depth pass places it.
Matrix lightEyeFromWorld(const Light& light) {
    return multiply(light.lightViewMatrix, Matrix::translation(0, 0, 5));
}

// The part of the map the object covers: its mesh, and the outline a selected object gets
// (the mesh enlarged 1.07 times across). Reads the model: only while no mesh is moving.
ScreenRect coverage(const Matrix& lightEye, Renderable& object) {
    const Model* model = object.getModel();
    if (!model) {
        return {};
    }
    const Projection light{LIGHT_FIELD_OF_VIEW, screenAspect(), LIGHT_NEAR, SHADOW_MAP_SIZE,
                           SHADOW_MAP_SIZE};
    const Matrix eyeFromModel = multiply(lightEye, object.refreshedWorldMatrix());
    const auto& p = model->positions;
    ScreenRect r = projectedRectangle(eyeFromModel, p, model->indices, 1, 1, light);
    if (object.isSelectionRelated()) {
        r = unite(r, projectedRectangle(eyeFromModel, p, model->indices, 1.07f, 1.07f, light));
    }
    return r;
}

// Draws the casters' depth, within `area` of the map (all of it: every caster; else those that
// cover some of it, scissored).
void drawDepth(const Light& light, const ScreenRect& area, bool whole) {
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, shadowFramebuffer);
    if (!whole) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(area.x0, area.y0, area.x1 - area.x0, area.y1 - area.y0);
    }
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
    for (std::size_t i = 0; i < casterObjects.size(); ++i) {
        if (!whole && intersect(casterRects[i], area).empty()) {
            continue;
        }
        Renderable* object = casterObjects[i];
        glPushMatrix();
        glMultMatrixf(object->getWorldMatrix().data());
        drawObjectMesh(object, true, false, true);
        glPopMatrix();
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
    glPopMatrix();
    glDisable(GL_SCISSOR_TEST);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    ++shadowPasses;
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
    if (!gameSettings.shadows) {
        // Nothing drawn; the map is out of date when shadows come back.
        shadowState.invalidate();
        loadViewProjection();
        return;
    }
    Level& level = *currentLevel;
    if (level.lights.empty()) {
        std::cout << "No Light to create shadowmap for!" << std::endl;
        return;
    }
    const Light& light = *level.lights.front();
    sceneObjects = level.objects; // copied into the kept buffer: no allocation
    const bool moving = describeShadowScene(light);

    // Bound for the scene shader's sampler only: with fixed-function texturing on for this unit,
    // the interface, the mirrors' tint and all other fixed-function drawing would be modulated
    // by the depth map.
    glActiveTexture(GL_TEXTURE0 + SHADOW_TEXTURE_UNIT);
    glBindTexture(GL_TEXTURE_2D, shadowTexture);
    const ScreenRect wholeMap{0, 0, SHADOW_MAP_SIZE, SHADOW_MAP_SIZE};
    if (renderOptions.shadowEveryFrame) {
        drawDepth(light, wholeMap, true);
    } else if (moving) {
        // Drawn whole while a mesh moves (its parts are not known without moving it on); the
        // first frame after it stands still draws the whole map once more and learns them.
        drawDepth(light, wholeMap, true);
        shadowState.invalidate();
    } else {
        const Matrix lightEye = lightEyeFromWorld(light);
        const ShadowState::Update update = shadowState.update();
        ScreenRect area;
        if (update == ShadowState::Update::Whole) {
            casterRects.resize(casterObjects.size());
            for (std::size_t i = 0; i < casterObjects.size(); ++i) {
                casterRects[i] = coverage(lightEye, *casterObjects[i]);
            }
            area = wholeMap;
        } else if (update == ShadowState::Update::Parts) {
            casterRects.resize(casterObjects.size());
            for (std::size_t i = 0; i < casterObjects.size(); ++i) {
                casterRects[i] = shadowState.shownRect(i);
                if (shadowState.changed(i)) {
                    casterRects[i] = coverage(lightEye, *casterObjects[i]);
                    area = unite(area, unite(shadowState.shownRect(i), casterRects[i]));
                }
            }
        }
        if (!area.empty()) {
            drawDepth(light, area, area == wholeMap);
        }
        if (update != ShadowState::Update::None) {
            shadowState.markRendered(casterRects);
        }
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

    glActiveTexture(GL_TEXTURE0);
    loadViewProjection();
}
