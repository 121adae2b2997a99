#pragma once
// The game's model files, each built from shapes in Y-up model coordinates. Scene objects face
// along their local -Z axis. Sizes are in world units unless a model is drawn scaled.

#include "assets/Writer3ds.h"

#include <functional>
#include <string>
#include <vector>

/// The 200 x 200 x 20 wall slab centred on the origin.
Mesh3ds buildWall();
/// The 174 x 174 x 20 pane of mirrors, half mirrors and colour filters, centred on the origin.
Mesh3ds buildMirror();
/// The half mirror's pane: the mirror's, in HALF_MIRROR_CELLS x HALF_MIRROR_CELLS cells on each
/// large face, every triangle on vertices of its own (the half mirror colours them checkered).
Mesh3ds buildHalfMirror();
/// The laser gun: a barrel along z around its hit spheres, beam leaving the origin along -z.
Mesh3ds buildLaserEmitter();
/// The collector: a ball of radius 11 at the origin with an output tube along -z to z = -124.
Mesh3ds buildCollector();
/// The goal ball: a sphere of radius 15 at the origin.
Mesh3ds buildGoalBall();
/// Number of key frames of the goal body.
constexpr int GOAL_FRAMES = 5;
/// Key frame 1 (closed) to GOAL_FRAMES (open) of the goal body: a pedestal and six petals
/// around the ball, which sits at (0, 50, 0). Frames differ in positions only; every petal moves
/// rigidly. Throws std::out_of_range for other frame numbers.
Mesh3ds buildGoalBody(int frame);
/// The stand of a mirror holder: foot, post and a yoke carrying the frame's pivot pins.
Mesh3ds buildHolder();
/// The tilting frame around a 174 x 174 pane, with pivot pins on the x axis.
Mesh3ds buildHolderFrame();
/// A beam segment: an octagonal rod of radius 1.2 from z = 0 to z = -1.
Mesh3ds buildLaserBeam();
/// A lamp: a conical shade over a bulb, 30 across.
Mesh3ds buildLamp();
/// An eye of radius 50 looking along +z, with a bulging iris and a recessed pupil.
Mesh3ds buildEye();

struct GeneratedModel {
    std::string fileName;
    std::function<Mesh3ds()> build;
    bool texCoords; ///< whether the file carries mapping coordinates
};

/// Every model file of the game folder, in the order the generator writes them.
const std::vector<GeneratedModel>& generatedModelFiles();
