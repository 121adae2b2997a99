#pragma once
// What the drawing shows of the light besides the beams themselves, worked out from the segments
// of the last laser update: where each beam meets a surface, and its footprint on the ground
// straight below it (a trace under each segment and plumb lines down from where a beam starts,
// bends or ends), so that a player sees how high a beam runs. "The ground" under a point is the
// first wall face a ray straight down from it meets. World units, y up.

#include "core/Matrix.h"
#include "laser/Ray.h"

#include <vector>

class ActiveObject;
class Level;

/// Ground traces lie this far above the face they are laid on, so that they are not buried in it.
constexpr float GROUND_TRACE_LIFT = 1.0f;

struct BeamGuides {
    /// A point or a line in the colour and intensity of the segment it belongs to.
    struct Mark {
        Point at;
        signed char colorCode;
        signed char intensity;
    };
    struct Line {
        Point from, to;
        signed char colorCode;
        signed char intensity;
    };
    std::vector<Mark> ends; ///< where a segment stops on a wall or an element
    /// Under each segment, from below its start to below its end, at the lower of the two ground
    /// heights (what stands higher in between hides the trace, as it would hide the floor).
    std::vector<Line> groundTraces;
    /// Straight down to the ground from each point where a beam starts, bends or ends (a unit
    /// back along the beam, off the face it met); none where a segment is only cut in two (at the
    /// plane of a filter it passes beside), none from within the lift of the ground. Points
    /// closer than 2.5 units share one line.
    std::vector<Line> plumbLines;
};

/// Fills `guides` from the level's current segments and walls (its vectors are cleared and
/// reused, so that a frame allocates nothing once they have grown).
void collectBeamGuides(Level& level, BeamGuides& guides);

/// The first wall face the ray meets: its distance along the ray and its unit normal. False, with
/// the normal untouched, when the ray meets none.
bool firstWallFace(const Ray& ray, const std::vector<ActiveObject*>& walls, float& distance,
                   Point& normal);
