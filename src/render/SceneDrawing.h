#pragma once
// Drawing the opaque scene: one object's mesh from its model's vertex arrays, all opaque
// objects with view-frustum culling, the viewer's eye model, and the per-frame lighting.

#include "rules/Frustum.h"

class Camera;
class Level;
class Renderable;

/// The main view's frustum, built at start-up from the screen's aspect.
extern Frustum frustumPlanes;

/// The part of the window where the scene shows: outside it the interface covers every pixel
/// with an opaque one. With the fast passes the frame's scene passes are scissored to it.
extern ScreenRect visibleArea;

/// Builds frustumPlanes for the current screen size.
void buildFrustumPlanes();

/// With the view matrix as the modelview: light 1 shines from the level's first light along its
/// facing direction (a fixed direction without lights) at the brightness ambientLevel; light 2,
/// used only for the lamps' own models, faces the other way.
void setFrameLighting(Level& level);

/// Draws the object's model under the current modelview, which already holds its world matrix.
/// showSpheres allows the bounding-sphere display, forceWireframe draws lines, geometryOnly
/// draws bare triangles (no colour, texture or polygon-mode change) for depth, stencil, shadow
/// and picking passes.
void drawObjectMesh(Renderable* object, bool showSpheres, bool forceWireframe, bool geometryOnly);

/// What a pass may leave out: objects whose bounding sphere lies wholly outside `frustum`, in
/// the eye space that `view` makes of the world, or wholly on the far side of `clip` (when
/// `clipped`; its normal points to the side that is cut away).
struct Culling {
    /// False: the frustum is not looked at (the clip plane still is).
    bool useFrustum = true;
    Frustum frustum{};
    Matrix view = Matrix::identity();
    bool clipped = false;
    FrustumPlane clip{};
    /// Objects whose drawing reaches past their model's sphere are kept: selected ones (their
    /// outline), moving meshes, all with the bounding spheres shown.
    bool keepOutlined = false;
};

/// The main view's culling: frustumPlanes under viewMatrix while view-frustum culling is on.
Culling mainViewCulling();

/// True when culling (may be null: nothing) leaves the object out.
bool isCulled(const Culling* culling, Renderable& object);

/// True when an object's mesh changes with each query (a door on the move): every drawing of it
/// moves it on, so passes that would draw it run even where they draw no pixel.
bool isAnyModelMoving();

/// True for the holder being carried (by the mouse or by keys) and its frame and element: the
/// opaque and mirror passes leave them out, drawCarryAids draws them see-through.
bool isCarried(const Renderable& object);

/// Which objects of a pass are mirrors and half mirrors.
enum class MirrorPanes { Include, Exclude, Only };

/// Draws every opaque object of the level (not beams or filters) that culling (may be null)
/// keeps and `panes` lets through, in the level's order; never skipObject (may be null) nor a
/// carried one.
void drawOpaquePass(const Culling* culling, MirrorPanes panes, Renderable* skipObject);

/// Draws the camera's eye model fixed relative to the viewer.
void drawCameraModel(Camera& camera);
