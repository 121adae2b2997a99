#pragma once
// One straight segment of laser light. Its world matrix carries its geometry: it starts at the
// local origin and runs along the local -Z axis, scaled along Z to its length.

#include "core/Renderable.h"
#include "laser/Ray.h"
#include "laser/TransparentSet.h"

#include <vector>

class ActiveObject;

/// Intensity of beams from emitters and collectors.
constexpr signed char FULL_INTENSITY = 32;
/// Alpha per unit of intensity.
constexpr double INTENSITY_TO_ALPHA = 0.03125;
/// Length of a segment that hits nothing.
constexpr float DEFAULT_BEAM_LENGTH = 5000.0f;
/// Colour code of an emitter's beam.
constexpr signed char COLOR_WHITE = 7;

class LaserBeam : public Renderable, public TransparentObject {
  public:
    LaserBeam(signed char colorCode, signed char intensity, ActiveObject* owner);
    /// Starts with `matrix` as its local matrix (a world matrix the caller obtained).
    LaserBeam(signed char colorCode, signed char intensity, ActiveObject* owner,
              const Matrix& matrix);

    Model* getModel() override;
    /// Stores the code and colours the rod; alpha is intensity / 32, so set intensity first.
    void setColor(signed char colorCode) override;

    Point startPoint() { return transformed({0, 0, 0, 1}); }
    Point endPoint() { return transformed({0, 0, -1, 1}); }
    /// The ray the segment is traced along: startPoint() and beamDirection().
    Ray ray() { return {startPoint(), beamDirection()}; }

    signed char intensity;
    signed char colorCode = 0;
    std::vector<LaserBeam*> nextSegments; ///< continuations; not owned
    ActiveObject* owner;                  ///< the element that emitted it; not owned
    ActiveObject* hitObject = nullptr;    ///< where it ends, if on an element; not owned

  private:
    Point transformed(Point p) {
        transformPoint(refreshedWorldMatrix(), p);
        return p;
    }
};
