#pragma once
// Back-to-front order of the translucent objects (laser segments and colour filters) for a
// view. The planes of the colour filters split space into cells, named by bit masks; a painter's
// ordering over the cells interleaves filters and segments, breaking cycles among filters when
// no filter can be drawn.

#include "core/Matrix.h"

struct TransparentSet;
class ColorFilter;

/// Filters up to which the cell ordering is used; with more, filters and segments are ordered
/// by their distance from the eye.
constexpr int MAX_CELL_ORDERED_FILTERS = 16;

/// Half the side of a filter's pane, in its local units.
constexpr float FILTER_PANE_HALF_SIZE = 87.0f;

/// Recomputes the filter's world plane (normal = world -Z axis, not normalised; offset so that
/// normal . x + offset = 0 on the pane) and its four pane corners.
void updateFilterGeometry(ColorFilter& filter);

/// Fills set.drawOrder back to front for the view matrix (world to eye; the eye is the origin of
/// the eye space). Writes "_________break____________" for every pass that could draw no filter.
void orderTransparentObjects(TransparentSet& set, const Matrix& view);
