#pragma once
// Switches that choose between the renderer's fast paths and drawing everything every frame, for
// measuring one against the other in the same build. Both default to the fast paths; the
// pictures are the same either way.
//
// BEAMWORKS_SHADOW_EVERY_FRAME=1 renders the shadow map in every frame instead of only when
// something it shows has changed. BEAMWORKS_FAST_PASSES=0 turns off the mirrors' scissor
// rectangles, the leaving out of mirrors with no pixel on screen, the culling of reflected
// scenes, the leaving out of passes that write no pixel, of the rows under the interface's
// opaque bars, and the scene program's variants for one texture kind each.

struct RenderOptions {
    bool shadowEveryFrame = false;
    bool fastPasses = true;

    /// Reads the two variables: a value that starts with '1' (SHADOW_EVERY_FRAME) or with '0'
    /// (FAST_PASSES) chooses the slow path; absent or anything else keeps the fast one.
    static RenderOptions fromEnvironment();
};

/// The options in force; the game sets them at start-up.
extern RenderOptions renderOptions;
