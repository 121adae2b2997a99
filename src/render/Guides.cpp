#include "render/Guides.h"

#include "core/Renderable.h"
#include "laser/BeamGuides.h"
#include "laser/LaserBeam.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/SceneDrawing.h"
#include "render/Shaders.h"
#include "rules/Interaction.h"
#include "rules/KeyCarry.h"
#include "rules/Settings.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float PI_F = 3.14159265f;

/// The share of white in a beam's core and a marker's centre: enough to make every hue bright,
/// little enough to keep it.
constexpr float CORE_WHITE = 0.4f;
/// Brightness of the ground traces and of the plumb lines at their top and foot, against the beam.
constexpr float TRACE_BRIGHTNESS = 0.6f;
constexpr float PLUMB_TOP_BRIGHTNESS = 0.7f, PLUMB_FOOT_BRIGHTNESS = 0.3f;
/// Traces and plumb lines are dashed (4 pixels on, 4 off), so that they never pass for a beam.
constexpr GLint DASH_FACTOR = 1;
constexpr GLushort DASH_PATTERN = 0x0F0F;
/// A marker's radius in world units: a little more than a beam's width near the eye, growing
/// with the distance so that it keeps a few pixels far off.
constexpr float MARKER_RADIUS = 4.0f, MARKER_RADIUS_PER_UNIT = 0.008f;
/// The share of a marker's radius that is its full-bright centre; the rest fades out.
constexpr float MARKER_CORE = 0.45f;
constexpr int MARKER_SIDES = 10;
/// The least opacity of a marker's centre.
constexpr float MARKER_MIN_ALPHA = 0.7f;

/// The carried holder's opacity.
constexpr float GHOST_ALPHA = 0.4f;
/// The foot ring: radii around where the holder's axis meets the surface (its foot is 30 across
/// the middle), lift off the surface, and colour (the selection's orange).
constexpr float RING_INNER = 26.0f, RING_OUTER = 34.0f, RING_LIFT = 1.0f;
constexpr float RING_COLOR[4] = {1.0f, 0.55f, 0.0f, 0.9f};
constexpr int RING_SIDES = 32;
/// The ring that marks a hint's carry spot: orange inside, white outside, wider than a foot.
constexpr float HINT_RING_INNER = 40.0f, HINT_RING_MIDDLE = 48.0f, HINT_RING_OUTER = 54.0f;
/// The carry pointer, in pixels: a ring with a cross through it whose arms reach past the ring,
/// in the selection's orange over a dark edge, so that it shows on light and dark surfaces.
constexpr float POINTER_RING = 10.0f, POINTER_ARM = 19.0f, POINTER_GAP = 4.0f;
constexpr float POINTER_LINE = 2.0f, POINTER_EDGE = 4.0f;
constexpr float POINTER_EDGE_COLOR[4] = {0.0f, 0.0f, 0.0f, 0.75f};
constexpr int POINTER_SIDES = 24;

struct Vertex {
    float x, y, z, r, g, b, a;
};

struct Rgba {
    float r, g, b, a;
};

std::vector<Vertex> coreVertices, dashVertices, triangleVertices, pointerVertices;

// The beam's opacity in the rods of the transparent pass.
float beamAlpha(signed char intensity) {
    return std::min(1.0f, static_cast<float>(intensity * INTENSITY_TO_ALPHA));
}

// A beam colour at the given opacity, with `white` of white mixed in.
Rgba beamColor(signed char code, float alpha, float white) {
    float rgb[3];
    colorCodeToRgb(code, rgb);
    return {white + (1 - white) * rgb[0], white + (1 - white) * rgb[1],
            white + (1 - white) * rgb[2], alpha};
}

void add(std::vector<Vertex>& to, const Point& p, const Rgba& c) {
    to.push_back({p[0], p[1], p[2], c.r, c.g, c.b, c.a});
}

Point offset(const Point& p, const Point& u, float su, const Point& v, float sv) {
    return {p[0] + u[0] * su + v[0] * sv, p[1] + u[1] * su + v[1] * sv,
            p[2] + u[2] * su + v[2] * sv, 1};
}

// A flat ring of `sides` quads between two radii around `centre` in the plane of u and v (unit,
// at right angles), each edge of the ring in its own colour.
void addRing(std::vector<Vertex>& to, const Point& centre, const Point& u, const Point& v,
             float inner, float outer, const Rgba& innerColor, const Rgba& outerColor, int sides) {
    for (int k = 0; k < sides; ++k) {
        const float a0 = 2 * PI_F * k / sides, a1 = 2 * PI_F * (k + 1) / sides;
        const float c0 = std::cos(a0), s0 = std::sin(a0), c1 = std::cos(a1), s1 = std::sin(a1);
        const Point i0 = offset(centre, u, inner * c0, v, inner * s0);
        const Point i1 = offset(centre, u, inner * c1, v, inner * s1);
        const Point o0 = offset(centre, u, outer * c0, v, outer * s0);
        const Point o1 = offset(centre, u, outer * c1, v, outer * s1);
        for (const auto& [p, c] : {std::pair{i0, innerColor},
                                   {o0, outerColor},
                                   {o1, outerColor},
                                   {i0, innerColor},
                                   {o1, outerColor},
                                   {i1, innerColor}}) {
            add(to, p, c);
        }
    }
}

// Draws the vertices as the primitive, coloured per vertex, and empties the list.
void drawBatch(std::vector<Vertex>& vertices, GLenum mode) {
    if (vertices.empty()) {
        return;
    }
    constexpr GLsizei stride = sizeof(Vertex);
    glVertexPointer(3, GL_FLOAT, stride, &vertices[0].x);
    glColorPointer(4, GL_FLOAT, stride, &vertices[0].r);
    glDrawArrays(mode, 0, static_cast<GLsizei>(vertices.size()));
    vertices.clear();
}

// Untextured, unlit, blended drawing from client arrays in world coordinates, depth tested and
// not written; undone by endOverlay. With `worldView`, under the view; otherwise under the
// modelview as it is (the view, or a mirrored one).
void beginOverlay(GLenum source, GLenum destination, bool worldView = true) {
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_3D);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(source, destination);
    glDepthMask(GL_FALSE);
    glDepthFunc(GL_LEQUAL);
    glPushMatrix();
    if (worldView) {
        glLoadMatrixf(viewMatrix.data());
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
}

void endOverlay() {
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();
    glPopAttrib();
}

// A disc facing the eye around where a beam meets a surface, moved its radius towards the eye.
void addMarker(const BeamGuides::Mark& mark, const Point& eye, const Point& right,
               const Point& up) {
    const Point& p = mark.at;
    const float toEye[3] = {eye[0] - p[0], eye[1] - p[1], eye[2] - p[2]};
    const float distance = std::hypot(toEye[0], toEye[1], toEye[2]);
    if (!(distance > 0)) {
        return;
    }
    const float radius = MARKER_RADIUS + MARKER_RADIUS_PER_UNIT * distance;
    const float pull = std::min(radius, distance / 2) / distance;
    const Point centre{p[0] + toEye[0] * pull, p[1] + toEye[1] * pull, p[2] + toEye[2] * pull, 1};
    // Bright even on a weak beam: a marker must be found.
    const Rgba core = beamColor(mark.colorCode,
                                std::max(MARKER_MIN_ALPHA, beamAlpha(mark.intensity)), CORE_WHITE);
    const Rgba rim = beamColor(mark.colorCode, 0, 0);
    addRing(triangleVertices, centre, right, up, 0, MARKER_CORE * radius, core, core, MARKER_SIDES);
    addRing(triangleVertices, centre, right, up, MARKER_CORE * radius, radius, core, rim,
            MARKER_SIDES);
}

// A ring lying on a surface of normal n around centre, in one colour.
void addSurfaceRing(const Point& centre, const Point& n, float inner, float outer, const Rgba& c) {
    // Two directions in the face, at right angles: across the normal from whichever axis lies
    // least along it, and across both.
    const Point axis = std::fabs(n[1]) < 0.9f ? Point{0, 1, 0, 0} : Point{1, 0, 0, 0};
    Point u{axis[1] * n[2] - axis[2] * n[1], axis[2] * n[0] - axis[0] * n[2],
            axis[0] * n[1] - axis[1] * n[0], 0};
    const float ul = std::hypot(u[0], u[1], u[2]);
    u = {u[0] / ul, u[1] / ul, u[2] / ul, 0};
    const Point v{n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2], n[0] * u[1] - n[1] * u[0],
                  0};
    addRing(triangleVertices, centre, u, v, inner, outer, c, c, RING_SIDES);
}

// The ring where the holder's foot stands: where its axis, down from its origin, meets a wall.
void drawFootRing(Renderable& root, Level& level) {
    const Matrix& world = root.refreshedWorldMatrix();
    const Point origin{world[12], world[13], world[14], 1};
    Point down{-world[4], -world[5], -world[6], 0};
    const float length = std::hypot(down[0], down[1], down[2]);
    if (!(length > 0)) {
        return;
    }
    down = {down[0] / length, down[1] / length, down[2] / length, 0};
    float t = 0;
    Point n{0, 1, 0, 0};
    if (!firstWallFace({origin, down}, level.walls, t, n)) {
        return;
    }
    const Rgba c{RING_COLOR[0], RING_COLOR[1], RING_COLOR[2], RING_COLOR[3]};
    addSurfaceRing(offset(origin, down, t, n, RING_LIFT), n, RING_INNER, RING_OUTER, c);
    beginOverlay(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawBatch(triangleVertices, GL_TRIANGLES);
    endOverlay();
}

// The carry pointer at (x, y), window pixels from the top-left, over everything drawn so far.
void drawCarryPointer(float x, float y) {
    const int w = gameSettings.screenWidth, h = gameSettings.screenHeight;
    // The pixels' centres: a line one pixel wide falls on one column.
    const float cx = std::floor(x) + 0.5f, cy = std::floor(y) + 0.5f;
    const auto addShape = [&](const float(&color)[4]) {
        const Rgba c{color[0], color[1], color[2], color[3]};
        for (int k = 0; k < POINTER_SIDES; ++k) {
            for (int end = 0; end < 2; ++end) {
                const float a = 2 * PI_F * (k + end) / POINTER_SIDES;
                add(pointerVertices,
                    {cx + POINTER_RING * std::cos(a), cy + POINTER_RING * std::sin(a), 0, 1}, c);
            }
        }
        for (const auto& [dx, dy] :
             {std::pair{1.0f, 0.0f}, {-1.0f, 0.0f}, {0.0f, 1.0f}, {0.0f, -1.0f}}) {
            add(pointerVertices, {cx + dx * POINTER_GAP, cy + dy * POINTER_GAP, 0, 1}, c);
            add(pointerVertices, {cx + dx * POINTER_ARM, cy + dy * POINTER_ARM, 0, 1}, c);
        }
    };
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    beginOverlay(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, false);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glLineWidth(POINTER_EDGE);
    addShape(POINTER_EDGE_COLOR);
    drawBatch(pointerVertices, GL_LINES);
    glLineWidth(POINTER_LINE);
    addShape(RING_COLOR);
    drawBatch(pointerVertices, GL_LINES);
    endOverlay();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

} // namespace

void addBeamCore(LaserBeam& beam) {
    const Rgba core = beamColor(beam.colorCode, beamAlpha(beam.intensity), CORE_WHITE);
    add(coreVertices, beam.startPoint(), core);
    add(coreVertices, beam.endPoint(), core);
}

void drawBeamCores() {
    if (coreVertices.empty()) {
        return;
    }
    beginOverlay(GL_SRC_ALPHA, GL_ONE, false);
    drawBatch(coreVertices, GL_LINES);
    endOverlay();
}

void drawBeamGuides(Level& level) {
    if (!gameSettings.laserPower) {
        return;
    }
    static BeamGuides guides;
    collectBeamGuides(level, guides);
    for (const BeamGuides::Line& trace : guides.groundTraces) {
        const Rgba c = beamColor(trace.colorCode, beamAlpha(trace.intensity) * TRACE_BRIGHTNESS, 0);
        add(dashVertices, trace.from, c);
        add(dashVertices, trace.to, c);
    }
    for (const BeamGuides::Line& plumb : guides.plumbLines) {
        const float a = beamAlpha(plumb.intensity);
        add(dashVertices, plumb.from, beamColor(plumb.colorCode, a * PLUMB_TOP_BRIGHTNESS, 0));
        add(dashVertices, plumb.to, beamColor(plumb.colorCode, a * PLUMB_FOOT_BRIGHTNESS, 0));
    }
    const Point eye = eyePosition(viewMatrix);
    // The eye's right and up directions in the world: the first two rows of the view's turn.
    const Point right{viewMatrix[0], viewMatrix[4], viewMatrix[8], 0};
    const Point up{viewMatrix[1], viewMatrix[5], viewMatrix[9], 0};
    for (const BeamGuides::Mark& end : guides.ends) {
        addMarker(end, eye, right, up);
    }
    beginOverlay(GL_SRC_ALPHA, GL_ONE); // light adds up
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(DASH_FACTOR, DASH_PATTERN);
    drawBatch(dashVertices, GL_LINES);
    glDisable(GL_LINE_STIPPLE);
    drawBatch(triangleVertices, GL_TRIANGLES);
    endOverlay();
}

void drawCarryAids(Level& level) {
    if (!doubleClicked || !selectionActive || !selectedElement) {
        return;
    }
    drawFootRing(*groupRoot(selectedElement), level);

    // The group see-through: its nearest faces only (a pass for the depth, then the colours
    // where the depth is theirs), blended over the scene and the beams behind it.
    if (!gameSettings.wireframe) {
        glUseProgram(shaderProgram);
        setUniform(shaderProgram, "darking", 1.0f);
    }
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const auto drawGroup = [&] {
        for (Renderable* object : level.objects) {
            if (isCarried(*object)) {
                glPushMatrix();
                glMultMatrixf(object->getWorldMatrix().data());
                drawObjectMesh(object, false, placementBlocked, false);
                glPopMatrix();
            }
        }
    };
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    drawGroup();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_FALSE);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_BLEND);
    glBlendColor(0, 0, 0, GHOST_ALPHA);
    glBlendFunc(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
    drawGroup();
    glPopAttrib();
    glUseProgram(0);
    glActiveTexture(GL_TEXTURE0); // a textured mesh leaves its unit active
    if (keyCarry.active && !keyCarry.placePending) {
        drawCarryPointer(keyCarry.x, keyCarry.y);
    }
}

void drawHintSpot() {
    if (!hintSpot.shown) {
        return;
    }
    const Point& n = hintSpot.normal;
    const Point centre = offset(hintSpot.position, n, RING_LIFT, n, 0);
    const Rgba orange{RING_COLOR[0], RING_COLOR[1], RING_COLOR[2], RING_COLOR[3]};
    addSurfaceRing(centre, n, HINT_RING_INNER, HINT_RING_MIDDLE, orange);
    addSurfaceRing(centre, n, HINT_RING_MIDDLE, HINT_RING_OUTER, Rgba{1, 1, 1, 0.9f});
    beginOverlay(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawBatch(triangleVertices, GL_TRIANGLES);
    endOverlay();
}
