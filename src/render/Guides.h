#pragma once
// Drawing that helps the eye judge the light in 3D, in the main view only (not in reflections):
// the beams' cores, ends and footprints, and the holder being carried.

class Level;

/// While the laser power is on: a thin, whiter core line in every beam, of the beam's hue (so a
/// blue beam shows on the walls as well as a red one), a glowing disc facing the viewer where
/// each beam meets a surface, drawn a little towards the eye so that the surface does not hide
/// it, and each beam's footprint on the ground: a dim dashed trace under it and dashed plumb lines
/// down from where it starts, bends or ends. Light added to the scene, depth tested, no depth
/// written: three draws (solid lines, dashed lines, triangles) from arrays built anew each frame.
/// Call after the transparent pass, with no program current.
void drawBeamGuides(Level& level);

/// While a holder is carried (see isCarried): a ring on the surface where its foot will stand,
/// in the selection's orange, and the holder with its frame and element see-through over the
/// scene (the opaque and mirror passes leave them out). Nothing otherwise. Call after
/// drawBeamGuides, with no program current; leaves none current.
void drawCarryAids(Level& level);
