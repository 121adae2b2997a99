#pragma once
// The registry of translucent objects (colour filters and laser segments) and their draw order.

#include <vector>

class Renderable;

/// The part of a colour filter or a laser segment that the transparent ordering works on.
/// Cells are bit masks over the level's colour filters: bit b is set for a point behind the
/// plane of filter b.
struct TransparentObject {
    bool isFilter = false;
    /// Filter: its own bit. Segment: its cell.
    int filterMask = 0;
    Renderable* object = nullptr; ///< what to draw: the filter or the segment itself
    int cornerMasks[4] = {0, 0, 0, 0};
    int wholeMask = 0;
    int wholeCount = 0;
    std::vector<int> frontCells;
    std::vector<int> behindCells;
    int behindCount = 0;
    int frontCount = 0;
};

/// Does not own the objects it lists.
struct TransparentSet {
    std::vector<TransparentObject*> filters;       ///< in registration order
    std::vector<TransparentObject*> sortedFilters; ///< by wholeCount, rebuilt by each ordering
    std::vector<TransparentObject*> beams;         ///< in registration order
    std::vector<TransparentObject*> drawOrder;     ///< back to front, from the last ordering
    int filterCount = 0;
};

/// Filters go to `filters` (counted), everything else to `beams`.
void registerTransparent(TransparentSet& set, TransparentObject* object);
