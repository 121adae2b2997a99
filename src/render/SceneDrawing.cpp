#include "render/SceneDrawing.h"

#include "core/Model.h"
#include "elements/ActiveObject.h"
#include "elements/Camera.h"
#include "elements/ColorFilter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Light.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "laser/HitShapes.h"
#include "laser/LaserBeam.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/RenderOptions.h"
#include "render/Shaders.h"
#include "render/Textures.h"
#include "rules/Interaction.h"
#include "rules/Settings.h"

#include <cmath>
#include <vector>

Frustum frustumPlanes = buildFrustumPlanes(1024.0 / 768.0);
ScreenRect visibleArea{0, 0, 1024, 768};

namespace {

// Light 1 shines along this world direction when the level has no light.
constexpr float DEFAULT_LIGHT_DIRECTION[3] = {0.3f, -0.9f, -0.3f};

bool isMirror(Renderable* object) {
    return dynamic_cast<Mirror*>(object) || dynamic_cast<MirrorHalf*>(object);
}

// The selection highlight's colour array, reused between draws: a bright orange that no beam,
// filter or goal has (their colours mix red, green and blue fully on or off).
const float* highlightColors(std::uint32_t vertexCount) {
    static std::vector<float> colors;
    if (colors.size() < 4u * vertexCount) {
        colors.clear();
        for (std::uint32_t i = 0; i < vertexCount; ++i) {
            colors.insert(colors.end(), {1.0f, 0.55f, 0.0f, 1.0f});
        }
    }
    return colors.data();
}

// A line sphere at a world position, under the view.
void drawLineSphere(const Point& centre, float radius) {
    static GLUquadric* quadric = nullptr;
    if (!quadric) {
        quadric = gluNewQuadric();
        gluQuadricDrawStyle(quadric, GLU_LINE);
    }
    glPushMatrix();
    glLoadMatrixf(viewMatrix.data());
    glTranslatef(centre[0], centre[1], centre[2]);
    gluSphere(quadric, radius, 30, 30);
    glPopMatrix();
}

void drawSpheres(Renderable* object, const Model& model) {
    const Matrix world = object->getWorldMatrix();
    if (auto* element = dynamic_cast<ActiveObject*>(object)) {
        for (const auto* shapes : {&element->blockingShapes, &element->activeShapes}) {
            for (const auto& shape : *shapes) {
                if (const auto* sphere = dynamic_cast<const HitSphere*>(shape.get())) {
                    Point c = sphere->center;
                    transformPoint(world, c);
                    drawLineSphere(c, sphere->radius);
                }
            }
        }
    }
    Point c{model.centre[0], model.centre[1], model.centre[2], 1};
    transformPoint(world, c);
    drawLineSphere(c, model.radius * maxScale(world));
}

// The components of the model's texture coordinates that a texture of the given kind reads.
// A model with 2 components per vertex is read with 2 even for a volume texture (r stays 0),
// never past the end of its array.
int texCoordSize(const Model& model, int wanted) {
    return std::min(wanted, model.texCoordComponents);
}

} // namespace

void buildFrustumPlanes() {
    frustumPlanes = buildFrustumPlanes(static_cast<double>(gameSettings.screenWidth) /
                                       gameSettings.screenHeight);
}

void setFrameLighting(Level& level) {
    float d[3] = {DEFAULT_LIGHT_DIRECTION[0], DEFAULT_LIGHT_DIRECTION[1],
                  DEFAULT_LIGHT_DIRECTION[2]};
    if (!level.lights.empty()) {
        const Point facing = level.lights.front()->beamDirection();
        d[0] = facing[0];
        d[1] = facing[1];
        d[2] = facing[2];
    }
    const float a = gameSettings.ambientLevel;
    const float light1Position[4] = {-100 * d[0], -100 * d[1], -100 * d[2], 0};
    const float black[4] = {0, 0, 0, 1};
    const float grey[4] = {a, a, a, 1};
    const float light2Position[4] = {d[0], d[1], d[2], 0};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    glLightfv(GL_LIGHT1, GL_POSITION, light1Position);
    glLightfv(GL_LIGHT1, GL_AMBIENT, black);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, grey);
    glLightfv(GL_LIGHT1, GL_SPECULAR, grey);
    glLightfv(GL_LIGHT2, GL_POSITION, light2Position);
}

namespace {

// The scene program's variant for a texture kind made current when the fast paths are on; the
// program to restore after the drawing, or 0.
unsigned int textureVariant(int kind) {
    return renderOptions.fastPasses ? useTextureVariant(shaderProgram, kind) : 0;
}

} // namespace

void drawObjectMesh(Renderable* object, bool showSpheres, bool forceWireframe, bool geometryOnly) {
    const Model* model = object->getModel();
    if (!model || model->indexCount == 0) {
        return;
    }
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    bool lines = false;
    bool textured = false;
    unsigned int restoreProgram = 0;
    if (!geometryOnly) {
        const int index = object->textureIndex;
        if (gameSettings.wireframe || forceWireframe) {
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
            lines = true;
        } else if (index >= 0 && index < TEXTURE_COUNT && model->texCoordComponents > 0) {
            const bool volume = index < FIRST_IMAGE_TEXTURE;
            const int unit = volume ? VOLUME_TEXTURE_UNIT : IMAGE_TEXTURE_UNIT;
            restoreProgram = textureVariant(unit);
            setUniform(shaderProgram, "activeTexture", unit);
            glActiveTexture(GL_TEXTURE0 + unit);
            glClientActiveTexture(GL_TEXTURE0);
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glEnable(volume ? GL_TEXTURE_3D : GL_TEXTURE_2D);
            glBindTexture(volume ? GL_TEXTURE_3D : GL_TEXTURE_2D, textureIds[index]);
            glTexCoordPointer(texCoordSize(*model, volume ? 3 : 2), GL_FLOAT,
                              model->texCoordComponents * static_cast<GLsizei>(sizeof(float)),
                              model->texCoords.data());
            textured = true;
        } else {
            restoreProgram = textureVariant(0);
            setUniform(shaderProgram, "activeTexture", 0); // untextured: no stale texture
        }
        glEnableClientState(GL_COLOR_ARRAY);
        glEnable(GL_COLOR_MATERIAL);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glColorPointer(4, GL_FLOAT, 0, object->vertexColors.data());
    }
    glNormalPointer(GL_FLOAT, 0, model->normals.data());
    glVertexPointer(3, GL_FLOAT, 0, model->positions.data());

    const bool plainHighlight = dynamic_cast<Mirror*>(object) ||
                                dynamic_cast<MirrorHalf*>(object) ||
                                dynamic_cast<ColorFilter*>(object) || dynamic_cast<Holder*>(object);
    if (object->isSelectionRelated() && !plainHighlight) {
        // A rim around the frame, unlit so that it stays bright over the frame's dark glass.
        GLint program = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glUseProgram(0);
        glPushAttrib(GL_LIGHTING_BIT | GL_ENABLE_BIT);
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_TEXTURE_3D);
        glPushMatrix();
        glScalef(1.07f, 1.07f, 1.0f);
        glColorPointer(4, GL_FLOAT, 0, highlightColors(model->vertexCount));
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(model->indexCount), GL_UNSIGNED_SHORT,
                       model->indices.data());
        glPopMatrix();
        glPopAttrib();
        glUseProgram(static_cast<GLuint>(program));
        glColorPointer(4, GL_FLOAT, 0, object->vertexColors.data());
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(model->indexCount), GL_UNSIGNED_SHORT,
                   model->indices.data());
    if (restoreProgram != 0) {
        glUseProgram(restoreProgram);
    }

    if (!geometryOnly) {
        if (lines) {
            glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        } else if (textured) {
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_TEXTURE_3D);
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        }
        glDisable(GL_COLOR_MATERIAL);
        glDisableClientState(GL_COLOR_ARRAY);
    }
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);

    if (showSpheres && !geometryOnly && gameSettings.showBoundingSpheres) {
        drawSpheres(object, *model);
    }
}

Culling mainViewCulling() {
    Culling c;
    c.useFrustum = gameSettings.frustumCulling;
    c.frustum = frustumPlanes;
    c.view = viewMatrix;
    return c;
}

bool isCulled(const Culling* culling, Renderable& object) {
    if (!culling) {
        return false;
    }
    if (culling->keepOutlined && (gameSettings.showBoundingSpheres || object.isModelMoving() ||
                                  object.isSelectionRelated())) {
        return false;
    }
    const Model* model = object.getModel();
    if (!model) {
        return false;
    }
    const Matrix& world = object.refreshedWorldMatrix();
    Point c{model->centre[0], model->centre[1], model->centre[2], 1};
    transformPoint(world, c);
    transformPoint(culling->view, c);
    const float radius = model->radius * maxScale(world);
    if (culling->useFrustum && sphereOutside(culling->frustum, c, radius)) {
        return true;
    }
    if (culling->clipped) {
        const FrustumPlane& p = culling->clip;
        const float s = p.normal[0] * (c[0] - p.point[0]) + p.normal[1] * (c[1] - p.point[1]) +
                        p.normal[2] * (c[2] - p.point[2]);
        return s > radius;
    }
    return false;
}

namespace {

void drawOpaqueObject(Renderable* object) {
    const bool lamp = dynamic_cast<Light*>(object) != nullptr;
    if (lamp) {
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT2);
        glUseProgram(0);
    }
    glPushMatrix();
    glMultMatrixf(object->getWorldMatrix().data());
    auto* goal = dynamic_cast<FinshHead*>(object);
    const bool glowing = goal && goal->isSatisfied();
    if (glowing) {
        glUseProgram(0);
        glDisable(GL_LIGHTING);
    }
    drawObjectMesh(object, true, false, false);
    if ((goal && goal->isSatisfied()) || lamp) {
        if (lamp) {
            glDisable(GL_LIGHT2);
        }
        glEnable(GL_LIGHTING);
        if (!gameSettings.wireframe) {
            glUseProgram(shaderProgram);
        }
    }
    glPopMatrix();
}

} // namespace

bool isCarried(const Renderable& object) {
    return doubleClicked && selectionActive && object.isSelectionRelated();
}

bool isAnyModelMoving() {
    for (Renderable* object : currentLevel->objects) {
        if (object->isModelMoving()) {
            return true;
        }
    }
    return false;
}

void drawOpaquePass(const Culling* culling, MirrorPanes panes, Renderable* skipObject) {
    sceneObjects = currentLevel->objects; // copied into the kept buffer: no allocation
    for (Renderable* object : sceneObjects) {
        if (dynamic_cast<LaserBeam*>(object) || dynamic_cast<ColorFilter*>(object)) {
            continue; // drawn by the transparent pass
        }
        if (panes != MirrorPanes::Include && isMirror(object) != (panes == MirrorPanes::Only)) {
            continue;
        }
        if (object == skipObject || isCarried(*object) || isCulled(culling, *object)) {
            continue;
        }
        drawOpaqueObject(object);
    }
}

void drawCameraModel(Camera& eye) {
    glPushMatrix();
    glLoadIdentity();
    glLoadMatrixf(eye.getWorldMatrix().data());
    drawObjectMesh(&eye, false, false, false);
    glPopMatrix();
}
