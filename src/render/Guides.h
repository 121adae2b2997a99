#pragma once
// Drawing that helps the eye judge the light in 3D: the beams' cores (wherever beams are drawn),
// their ends and footprints and the holder being carried (in the main view only, not in
// reflections).

class LaserBeam;
class Level;

/// Adds the beam's core to the batch that drawBeamCores draws: a thin line along it of its hue
/// with white mixed in, so that a blue beam shows on the walls as well as a red one. The
/// transparent pass adds every beam it draws and draws the batch before each filter (which then
/// tints the cores behind it) and at its end.
void addBeamCore(LaserBeam& beam);
/// Draws the cores added since the last call as added light, depth tested, no depth written, in
/// world coordinates under the current modelview (the view or a mirrored one); one draw.
void drawBeamCores();

/// While the laser power is on: a glowing disc facing the viewer where each beam meets a
/// surface, drawn a little towards the eye so that the surface does not hide it, and each beam's
/// footprint on the ground: a dim dashed trace under it and dashed plumb lines down from where
/// it starts, bends or ends. Light added to the scene, depth tested, no depth written: two draws
/// (dashed lines, triangles) from arrays built anew each frame. Call after the transparent
/// pass, with no program current.
void drawBeamGuides(Level& level);

/// While a holder is carried (see isCarried): a ring on the surface where its foot will stand,
/// in the selection's orange, and the holder with its frame and element see-through over the
/// scene (the opaque and mirror passes leave them out); in a carry by keys, the carry pointer
/// (rules/KeyCarry.h) over the scene. Nothing otherwise. Call after
/// drawBeamGuides, with no program current; leaves none current.
void drawCarryAids(Level& level);

/// While a hint's carry spot is marked (rules/Interaction.h hintSpot): a double ring on the
/// surface there, white round the selection's orange. Call after drawCarryAids, with no program
/// current.
void drawHintSpot();
