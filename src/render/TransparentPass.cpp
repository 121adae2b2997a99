#include "render/TransparentPass.h"

#include "core/Renderable.h"
#include "laser/LaserBeam.h"
#include "laser/TransparentSet.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/Guides.h"
#include "render/SceneDrawing.h"
#include "rules/Settings.h"

void drawTransparentPass(bool cull) {
    glUseProgram(0);
    glDisable(GL_LIGHTING);
    sceneObjects = currentLevel->objects; // copied into the kept buffer: no allocation
    const bool blend = gameSettings.transparency;
    if (blend) {
        glEnable(GL_BLEND);
    }
    glDepthMask(GL_FALSE);
    for (TransparentObject* entry : transparentDrawList) {
        Renderable* object = entry->object;
        if (!entry->isFilter && !gameSettings.laserPower) {
            continue;
        }
        if (cull && gameSettings.frustumCulling &&
            isOutsideFrustum(frustumPlanes, *object, viewMatrix)) {
            continue;
        }
        if (entry->isFilter) {
            drawBeamCores(); // the filter tints the cores behind it
        }
        if (blend) {
            if (entry->isFilter) {
                glBlendFunc(GL_ZERO, GL_SRC_COLOR); // tints what lies behind
            } else {
                glBlendFunc(GL_SRC_ALPHA, GL_ONE); // adds light
            }
        }
        glPushMatrix();
        glMultMatrixf(object->getWorldMatrix().data());
        drawObjectMesh(object, false, false, false);
        glPopMatrix();
        if (auto* beam = dynamic_cast<LaserBeam*>(object)) {
            addBeamCore(*beam);
        }
    }
    drawBeamCores();
    glDepthMask(GL_TRUE);
    if (blend) {
        glDisable(GL_BLEND);
    }
    if (!gameSettings.wireframe) {
        glUseProgram(shaderProgram);
    }
    glEnable(GL_LIGHTING);
}
