#pragma once
// The half-line a beam travels along, worked out once per trace and handed to every hit test.

#include "core/Matrix.h"

struct Ray {
    Point origin;    ///< where the beam starts (w = 1)
    Point direction; ///< unit direction of travel (w = 0)
};
