#pragma once
// Shadows: a depth map rendered every frame from the level's first light into an off-screen
// target on texture unit 7, and the texture matrix of unit 7 that maps the main view's
// eye-space positions into it.

/// Texels along each side of the shadow map.
constexpr int SHADOW_MAP_SIZE = 4096;
constexpr int SHADOW_TEXTURE_UNIT = 7;

/// Creates the depth texture and its framebuffer; prints "no error -!--- " and the status code
/// when complete, else "ERROR -!--- " and the code.
void createShadowTarget();

/// Renders the depth of every opaque object as seen from the first light and loads unit 7's
/// texture matrix; leaves the frame's projection and view current. Prints "No Light to create
/// shadowmap for!" for a level without lights.
void renderShadowMap();
