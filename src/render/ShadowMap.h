#pragma once
// Shadows: a depth map rendered from the level's first light into an off-screen target on
// texture unit 7, and the texture matrix of unit 7 that maps the main view's eye-space positions
// into it. The map is rendered again only when something it shows has changed: the light, the
// screen's aspect, the target or the level (the whole map), or some shadow casters' world
// matrices, meshes or outlines (only the part of the map they covered before and cover now,
// scissored: elsewhere the map holds what a whole rendering would put there).

/// Texels along each side of the shadow map.
constexpr int SHADOW_MAP_SIZE = 4096;
constexpr int SHADOW_TEXTURE_UNIT = 7;

/// Creates the depth texture and its framebuffer; prints "no error -!--- " and the status code
/// when complete, else "ERROR -!--- " and the code.
void createShadowTarget();

/// Renders the depth of every opaque object as seen from the first light where that has
/// changed since the last rendering (all of it in every frame with
/// renderOptions.shadowEveryFrame, or while a caster's mesh is moving) and loads unit 7's
/// texture matrix for the current view; leaves the frame's projection and view current. Prints "No
/// Light to create shadowmap for!" for a level without lights. With gameSettings.shadows off it
/// draws nothing and only loads the frame's projection; the first call with them on again
/// renders the whole map.
void renderShadowMap();

/// The next renderShadowMap renders the map (a new level: its objects may reuse the old ones'
/// addresses and versions).
void invalidateShadowMap();

/// How many times the depth pass has run since start-up, whole or in part.
int shadowMapPasses();
