#include "render/Mirrors.h"

#include "core/Model.h"
#include "elements/Camera.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "laser/TransparentOrder.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/RenderOptions.h"
#include "render/SceneDrawing.h"
#include "render/Shaders.h"
#include "render/TransparentPass.h"
#include "rules/Settings.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

int reflectionLevel = 1;

namespace {

struct Plane {
    Point normal{0, 0, -1, 0}; ///< eye space, pointing away from the camera
    Point point{0, 0, 0, 1};
};

Renderable* currentMirror = nullptr;
Plane parentMirrorPlane;
/// The window rectangle the mirror being drawn is confined to (fast passes).
ScreenRect parentRect;
/// A mesh of the scene changes with each drawing this frame (see isAnyModelMoving).
bool meshMoving = false;
Matrix firstReflection = Matrix::identity();
GLenum cullMode = GL_BACK;

void swapCullMode() {
    cullMode = cullMode == GL_BACK ? GL_FRONT : GL_BACK;
    glCullFace(cullMode);
}

Point transformed(const Matrix& m, Point p) {
    transformPoint(m, p);
    return p;
}

float dot3(const Point& a, const Point& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

bool isMirror(Renderable* object) {
    return dynamic_cast<Mirror*>(object) || dynamic_cast<MirrorHalf*>(object);
}

// Stencil and depth preparation: mark the mirror's visible area and clear the depth there.
void markMirror(Renderable* mirror, int level) {
    glEnable(GL_STENCIL_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    if (level == 1) {
        glStencilFunc(GL_ALWAYS, 1, ~0u);
        setUniform(shaderProgram, "darking", 0.5f);
    } else {
        glStencilFunc(GL_EQUAL, 1, ~0u);
        setUniform(shaderProgram, "darking", 0.2f);
    }
    drawObjectMesh(mirror, true, false, true);
    glDepthRange(1, 1);
    glDepthFunc(GL_ALWAYS);
    glStencilFunc(GL_EQUAL, level, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    drawObjectMesh(mirror, true, false, true);
    glDepthFunc(GL_LESS);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthRange(0, 1);
}

void setScissor(const ScreenRect& r) {
    glScissor(r.x0, r.y0, std::max(0, r.x1 - r.x0), std::max(0, r.y1 - r.y0));
}

// Draws the mirror's reflection and the mirror; with the fast passes, confined to the mirror's
// rectangle on screen, and not at all when that is empty.
void drawMirror(Renderable* mirror, int level) {
    const Matrix w = mirror->getWorldMatrix();
    const bool fast = renderOptions.fastPasses;
    const int width = gameSettings.screenWidth, height = gameSettings.screenHeight;
    // Everything the reflection draws is masked by the stencil marks of the mirror's own
    // pixels: a scissor rectangle around them changes no pixel, but spares the rasteriser the
    // rest of the window.
    const Matrix seenFrom = level == 2 ? multiply(viewMatrix, firstReflection) : viewMatrix;
    ScreenRect rect{0, 0, width, height};
    if (fast) {
        const Model* model = mirror->getModel();
        rect = model ? screenRectangle(multiply(seenFrom, w), model->positions, model->indices,
                                       width, height)
                     : ScreenRect{};
        rect = intersect(rect, level == 2 ? parentRect : visibleArea);
        // Without a pixel on screen the reflection changes nothing. While a mesh moves (a door),
        // it is drawn all the same, scissored away: each drawing of the mesh moves it on, and
        // its pace stays the one of every pass drawn.
        if (rect.empty() && !meshMoving) {
            return;
        }
        glEnable(GL_SCISSOR_TEST);
        setScissor(rect);
    }
    const ScreenRect oldRect = parentRect;
    parentRect = rect;
    glPushMatrix();
    glMultMatrixf(w.data());
    markMirror(mirror, level);

    // The clip plane z = 0 of the mirror's own frame, keeping the side away from the camera.
    Point p = transformed(w, {0, 0, 0, 1});
    Point n = transformed(w, {0, 0, -1, 0});
    if (level == 2) {
        p = transformed(firstReflection, p);
        n = transformed(firstReflection, n);
    }
    p = transformed(viewMatrix, p);
    n = transformed(viewMatrix, n);
    GLdouble equation[4] = {0, 0, -1, 0};
    if (dot3(p, n) < 0) {
        n = {-n[0], -n[1], -n[2], 0};
        equation[2] = 1;
    }
    if (level == 1) {
        glClipPlane(GL_CLIP_PLANE1, equation);
    } else {
        glPushMatrix();
        glLoadMatrixf(viewMatrix.data());
        glMultMatrixf(firstReflection.data());
        glMultMatrixf(w.data());
        glClipPlane(GL_CLIP_PLANE1, equation);
        glPopMatrix();
    }
    glEnable(GL_CLIP_PLANE1);
    const Plane oldParent = parentMirrorPlane;
    parentMirrorPlane = {n, p};

    glPopMatrix();
    glPushMatrix();
    Point worldNormal = transformed(w, {0, 0, -1, 0});
    const float length = std::sqrt(dot3(worldNormal, worldNormal));
    worldNormal = {worldNormal[0] / length, worldNormal[1] / length, worldNormal[2] / length, 0};
    const Matrix reflection = reflectionMatrix(worldNormal, transformed(w, {0, 0, 0, 1}));
    if (level == 1) {
        firstReflection = reflection;
    }
    glMultMatrixf(reflection.data());
    swapCullMode();
    setUniform(shaderProgram, "useShadows", 0);
    Renderable* const oldMirror = currentMirror;
    currentMirror = mirror;

    // The viewer, seen in the mirror.
    glPushMatrix();
    glMultMatrixf(inverseViewMatrix.data());
    glMultMatrixf(camera->getWorldMatrix().data());
    drawObjectMesh(camera, false, false, false);
    glPopMatrix();

    // The reflected scene, culled against the part of the view the rectangle shows and the
    // mirror's plane.
    Culling culling;
    if (fast) {
        culling.frustum = frustumForRectangle(rect, width, height);
        culling.view = multiply(seenFrom, reflection);
        culling.clipped = true;
        culling.clip = {{-n[0], -n[1], -n[2]}, {p[0], p[1], p[2]}};
        culling.keepOutlined = true;
    }
    const Culling* const reflected = fast ? &culling : nullptr;

    Renderable* const frame = mirror->hasParent ? mirror->parent : nullptr;
    const bool deeper = level == 1 && gameSettings.mirroringDepth2;
    if (deeper) {
        drawOpaquePass(reflected, MirrorPanes::Exclude, frame);
        reflectionLevel = 2;
        drawMirrors();
        reflectionLevel = 1;
        // A nested mirror leaves its own darkening and the shadows on: the rest of this
        // reflection is drawn as the first level again.
        setUniform(shaderProgram, "darking", 0.5f);
        setUniform(shaderProgram, "useShadows", 0);
        glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
        glPopMatrix();
        glPushMatrix();
        glMultMatrixf(w.data());
        glClipPlane(GL_CLIP_PLANE1, equation);
        glEnable(GL_CLIP_PLANE1);
        glPopMatrix();
        glPushMatrix();
        glMultMatrixf(reflection.data());
    }
    if (!deeper) {
        drawOpaquePass(reflected, MirrorPanes::Include, nullptr);
    } else if (!fast || meshMoving) {
        // Writes nothing: where a nested mirror was drawn the stencil test fails, elsewhere
        // the depth test (the same scene is there already).
        drawOpaquePass(nullptr, MirrorPanes::Exclude, frame);
    }
    parentMirrorPlane = oldParent;
    glStencilFunc(GL_EQUAL, level, ~0u);

    // The beams and filters seen in the mirror, ordered for the mirrored view.
    Matrix mirroredView;
    glGetFloatv(GL_MODELVIEW_MATRIX, mirroredView.m.data());
    orderTransparentObjects(*currentLevel->transparentSet, mirroredView);
    transparentDrawList = currentLevel->transparentSet->drawOrder;
    drawTransparentPass(false);

    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glDepthFunc(GL_LESS);
    glEnable(GL_STENCIL_TEST);
    glPopMatrix();
    currentMirror = oldMirror;

    // The mirror itself over its reflection: its plain colour tints what it reflects.
    glPushMatrix();
    glMultMatrixf(w.data());
    glDisable(GL_CLIP_PLANE1);
    glDisable(GL_DEPTH_TEST);
    glUseProgram(0);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    drawObjectMesh(mirror, true, false, false);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    if (!gameSettings.wireframe) {
        glUseProgram(shaderProgram);
    }
    glEnable(GL_DEPTH_TEST);
    swapCullMode();

    // Give the mirror its depth back and remove its mark.
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glStencilFunc(GL_EQUAL, level, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, level == 1 ? GL_ZERO : GL_DECR);
    glDepthFunc(GL_ALWAYS);
    drawObjectMesh(mirror, true, false, true);
    glDepthFunc(GL_LEQUAL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPopMatrix();
    setUniform(shaderProgram, "useShadows", gameSettings.shadows ? 1 : 0);
    parentRect = oldRect;
    if (fast) {
        setScissor(level == 1 ? visibleArea : oldRect);
    }
}

} // namespace

Matrix reflectionMatrix(const Point& normal, const Point& point) {
    Matrix r = Matrix::identity();
    const float d = 2 * dot3(normal, point);
    for (int c = 0; c < 3; ++c) {
        for (int row = 0; row < 3; ++row) {
            r[4 * c + row] = (row == c ? 1.0f : 0.0f) - 2 * normal[row] * normal[c];
        }
        r[12 + c] = d * normal[c];
    }
    return r;
}

void drawMirrors(const std::function<void()>& afterEachMirror) {
    const int level = reflectionLevel;
    sceneObjects = currentLevel->objects;
    // The passes below refresh sceneObjects: walk a copy, kept per reflection level so that
    // frames after the first allocate nothing.
    static std::vector<Renderable*> copies[3];
    std::vector<Renderable*>& objects = copies[std::clamp(level, 0, 2)];
    objects = sceneObjects;
    if (level == 1) {
        meshMoving = isAnyModelMoving();
    }
    for (Renderable* object : objects) {
        if (!isMirror(object) || object == currentMirror || isCarried(*object)) {
            continue;
        }
        if (level == 2) {
            const Point c = transformed(viewMatrix, object->getBoundingCenter());
            const float r = object->getBoundingRadius();
            const Point& n = parentMirrorPlane.normal;
            const Point& p = parentMirrorPlane.point;
            const float distance =
                n[0] * (c[0] - p[0]) + n[1] * (c[1] - p[1]) + n[2] * (c[2] - p[2]);
            if (distance > r) {
                continue; // wholly behind the mirror it would be seen in
            }
        }
        drawMirror(object, level);
        if (afterEachMirror) {
            afterEachMirror();
        }
    }
}
