#pragma once
// Drawing the opaque scene: one object's mesh from its model's vertex arrays, all opaque
// objects with view-frustum culling, the viewer's eye model, and the per-frame lighting.

#include "render/Frustum.h"

class Camera;
class Level;
class Renderable;

/// The main view's frustum, built at start-up from the screen's aspect.
extern Frustum frustumPlanes;

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

/// Draws every opaque object of the level (not beams or filters): with `cull`, those inside the
/// frustum (when culling is on); with skipMirrors, without mirrors and half mirrors; never
/// skipObject (may be null).
void drawOpaquePass(bool cull, bool skipMirrors, Renderable* skipObject);

/// Draws the camera's eye model fixed relative to the viewer.
void drawCameraModel(Camera& camera);
