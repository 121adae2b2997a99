#include "render/Picking.h"

#include "core/Renderable.h"
#include "laser/LaserBeam.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/SceneDrawing.h"
#include "rules/Interaction.h"
#include "rules/Settings.h"

#include <iostream>
#include <vector>

namespace {

constexpr int SELECTION_BUFFER_SIZE = 512;

void mainProjection() {
    gluPerspective(FIELD_OF_VIEW,
                   static_cast<double>(gameSettings.screenWidth) / gameSettings.screenHeight,
                   NEAR_PLANE, FAR_PLANE);
}

bool culled(Renderable* object) {
    return gameSettings.frustumCulling && isOutsideFrustum(frustumPlanes, *object, viewMatrix);
}

void processHits(int hitCount, const std::vector<std::uint32_t>& buffer) {
    const unsigned int chosen = chooseHit(hitCount, buffer);
    std::cout << chosen << std::endl;
    if (chosen == 0) {
        if (!placementBlocked) {
            std::cout << "---- 1 ----" << std::endl;
            if (selectedElement) {
                selectedElement->selected = false;
            }
            selectionActive = false;
            doubleClicked = false;
            selectedElement = nullptr;
        }
        return;
    }
    for (Renderable* object : sceneObjects) {
        if (dynamic_cast<LaserBeam*>(object) || culled(object) || object->pickName != chosen) {
            continue;
        }
        if (selectedElement) {
            selectedElement->selected = false;
        }
        selectedElement = selectionFor(object);
        selectedElement->selected = true;
        selectionActive = true;
        return;
    }
}

} // namespace

void pickObject() {
    std::vector<GLuint> buffer(SELECTION_BUFFER_SIZE, 0);
    glSelectBuffer(SELECTION_BUFFER_SIZE, buffer.data());
    glRenderMode(GL_SELECT);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    // Where the button was pressed: at a low frame rate a drag may have moved the pointer on
    // before this frame.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPickMatrix(pickX, viewport[3] - pickY, 5, 5, viewport);
    mainProjection();
    glMatrixMode(GL_MODELVIEW);
    glInitNames();
    glPushName(0);

    sceneObjects = currentLevel->objects; // copied into the kept buffer: no allocation
    unsigned int name = 0;
    for (Renderable* object : sceneObjects) {
        if (dynamic_cast<LaserBeam*>(object) || culled(object)) {
            continue;
        }
        object->pickName = object->isSelectable() ? ++name : 0;
        glLoadName(object->pickName);
        glPushMatrix();
        glMultMatrixf(object->getWorldMatrix().data());
        drawObjectMesh(object, false, false, true);
        glPopMatrix();
    }

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    mainProjection();
    glMatrixMode(GL_MODELVIEW);
    glFlush();
    const int hits = glRenderMode(GL_RENDER);
    processHits(hits, std::vector<std::uint32_t>(buffer.begin(), buffer.end()));
}

ScreenProjection currentScreenProjection(const Matrix& view) {
    ScreenProjection p;
    glGetIntegerv(GL_VIEWPORT, p.viewport);
    glGetDoublev(GL_PROJECTION_MATRIX, p.projection);
    for (int i = 0; i < 16; ++i) {
        p.modelview[i] = view[i];
    }
    return p;
}

void pointerLine(const ScreenProjection& screen, int x, int y, double nearPoint[3],
                 double farPoint[3]) {
    const GLint* viewport = screen.viewport;
    const double wy = viewport[3] - y - 1;
    gluUnProject(x, wy, 0, screen.modelview, screen.projection, viewport, &nearPoint[0],
                 &nearPoint[1], &nearPoint[2]);
    gluUnProject(x, wy, 1, screen.modelview, screen.projection, viewport, &farPoint[0],
                 &farPoint[1], &farPoint[2]);
}
