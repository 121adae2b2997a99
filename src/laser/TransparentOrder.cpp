#include "laser/TransparentOrder.h"

#include "core/Renderable.h"
#include "elements/ColorFilter.h"
#include "laser/LaserBeam.h"
#include "laser/TransparentSet.h"

#include <algorithm>
#include <cstdint>
#include <iostream>

namespace {

float planeSide(const ColorFilter& f, const Point& x) {
    return f.planeNormal[0] * x[0] + f.planeNormal[1] * x[1] + f.planeNormal[2] * x[2] +
           f.planeOffset;
}

// The filter part of a registered transparent object (filters are always ColorFilters).
ColorFilter& filterOf(TransparentObject* t) {
    return *static_cast<ColorFilter*>(t->object);
}

// Back to front by the distance of each object's middle from the eye; for many filters, where
// the cell arrays would grow out of hand.
void orderByDistance(TransparentSet& set, const Matrix& view) {
    struct Entry {
        float distanceSquared;
        TransparentObject* object;
    };
    std::vector<Entry> entries;
    const auto add = [&](TransparentObject* t, Point middle) {
        transformPoint(view, middle);
        entries.push_back(
            {middle[0] * middle[0] + middle[1] * middle[1] + middle[2] * middle[2], t});
    };
    for (TransparentObject* t : set.filters) {
        const ColorFilter& f = filterOf(t);
        Point middle{0, 0, 0, 1};
        for (const Point& c : f.corners) {
            for (int i = 0; i < 3; ++i) {
                middle[i] += c[i] / 4;
            }
        }
        add(t, middle);
    }
    for (TransparentObject* t : set.beams) {
        auto* beam = static_cast<LaserBeam*>(t->object);
        const Point s = beam->startPoint(), e = beam->endPoint();
        add(t, {(s[0] + e[0]) / 2, (s[1] + e[1]) / 2, (s[2] + e[2]) / 2, 1});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.distanceSquared > b.distanceSquared;
    });
    for (const Entry& e : entries) {
        set.drawOrder.push_back(e.object);
        if (e.object->isFilter) {
            set.sortedFilters.push_back(e.object);
        }
    }
}

int bitCount(int mask) {
    return __builtin_popcount(static_cast<unsigned>(mask));
}

void orderByCells(TransparentSet& set, const Matrix& view) {
    const int n = static_cast<int>(set.filters.size());
    const int cellCount = 1 << n;
    const int all = cellCount - 1;
    std::vector<std::uint8_t> pending(cellCount, 0), ready(cellCount, 1), present(cellCount, 0);
    int viewerMask = 0;

    // Cells of the pane corners relative to the other planes, and the eye's side of each plane.
    for (TransparentObject* t : set.filters) {
        const ColorFilter& f = filterOf(t);
        for (int k = 0; k < 4; ++k) {
            t->cornerMasks[k] = 0;
            for (TransparentObject* other : set.filters) {
                if (other != t && planeSide(filterOf(other), f.corners[k]) < 0) {
                    t->cornerMasks[k] += other->filterMask;
                }
            }
        }
        Point normal = f.planeNormal;
        normal[3] = 0;
        Point corner = f.corners[0];
        transformPoint(view, normal);
        transformPoint(view, corner);
        if (normal[0] * corner[0] + normal[1] * corner[1] + normal[2] * corner[2] < 0) {
            viewerMask += t->filterMask;
        }
    }
    for (TransparentObject* t : set.filters) {
        for (int& m : t->cornerMasks) {
            m = (m ^ viewerMask) & ~t->filterMask;
        }
    }

    // Which cells each filter must wait for, and which it covers.
    for (TransparentObject* t : set.filters) {
        const int bit = t->filterMask;
        t->frontCells.clear();
        t->behindCells.clear();
        t->wholeMask =
            t->cornerMasks[0] & t->cornerMasks[1] & t->cornerMasks[2] & t->cornerMasks[3];
        const int notAny =
            ~(t->cornerMasks[0] | t->cornerMasks[1] | t->cornerMasks[2] | t->cornerMasks[3] | bit);
        for (int m = t->wholeMask & all; m <= all; ++m) {
            const bool containsWhole = (m & t->wholeMask) == t->wholeMask;
            if (containsWhole && (m & bit) == bit) {
                t->frontCells.push_back(m);
                ++pending[m];
                ready[m] = 0;
            } else if ((m & (notAny | bit)) == 0 && containsWhole) {
                t->behindCells.push_back(m);
            }
        }
        t->frontCount = static_cast<int>(t->frontCells.size());
        t->behindCount = static_cast<int>(t->behindCells.size());
        t->wholeCount = bitCount(t->wholeMask);
        const auto at = std::find_if(
            set.sortedFilters.begin(), set.sortedFilters.end(),
            [&](const TransparentObject* s) { return s->wholeCount >= t->wholeCount; });
        set.sortedFilters.insert(at, t);
    }

    const auto cellOf = [&](const TransparentObject* b) {
        return (b->filterMask ^ viewerMask) & all;
    };
    for (TransparentObject* b : set.beams) {
        present[cellOf(b)] = 1;
    }

    int done = 0;
    bool forced = false;
    int candidate = 0;
    std::vector<int> noted;
    while (n > 0 && done != all) {
        bool progress = false;
        for (TransparentObject* f : set.sortedFilters) {
            const int bit = f->filterMask;
            if (done & bit) {
                continue;
            }
            if (forced) {
                if (bit != candidate) {
                    continue;
                }
            } else if (std::any_of(f->behindCells.begin(), f->behindCells.end(),
                                   [&](int c) { return ready[c] == 0; })) {
                candidate = bit;
                continue;
            }
            // The segments behind this filter that are free to go, then, when forced, those in
            // the cells it covers.
            noted.clear();
            for (TransparentObject* b : set.beams) {
                const int c = cellOf(b);
                if (present[c] && ready[c] && (c & bit) == 0) {
                    set.drawOrder.push_back(b);
                    noted.push_back(c);
                }
            }
            for (int c : noted) {
                present[c] = 0;
            }
            if (forced) {
                noted.clear();
                for (TransparentObject* b : set.beams) {
                    const int c = cellOf(b);
                    if (present[c] && std::find(f->behindCells.begin(), f->behindCells.end(), c) !=
                                          f->behindCells.end()) {
                        set.drawOrder.push_back(b);
                        noted.push_back(c);
                    }
                }
                for (int c : noted) {
                    present[c] = 0;
                    pending[c] = 0;
                    ready[c] = 1;
                }
            }
            set.drawOrder.push_back(f);
            progress = true;
            forced = false;
            for (int c : f->frontCells) {
                if (pending[c] == 0 || --pending[c] == 0) {
                    ready[c] = 1;
                }
            }
            done |= bit;
        }
        if (!progress) {
            std::cout << "_________break____________" << std::endl;
            forced = true;
        }
    }
    for (TransparentObject* b : set.beams) {
        const int c = cellOf(b);
        if (present[c] && ready[c]) {
            set.drawOrder.push_back(b);
        }
    }
    for (TransparentObject* t : set.filters) {
        t->frontCells = {};
        t->behindCells = {};
    }
}

} // namespace

void updateFilterGeometry(ColorFilter& filter) {
    const Matrix w = filter.getWorldMatrix();
    filter.planeNormal = {0, 0, -1, 0};
    transformPoint(w, filter.planeNormal);
    const float h = FILTER_PANE_HALF_SIZE;
    const Point corners[4] = {{h, h, 0, 1}, {h, -h, 0, 1}, {-h, -h, 0, 1}, {-h, h, 0, 1}};
    for (int k = 0; k < 4; ++k) {
        filter.corners[k] = corners[k];
        transformPoint(w, filter.corners[k]);
    }
    const Point& n = filter.planeNormal;
    const Point& c = filter.corners[0];
    filter.planeOffset = -(n[0] * c[0] + n[1] * c[1] + n[2] * c[2]);
}

void orderTransparentObjects(TransparentSet& set, const Matrix& view) {
    set.sortedFilters.clear();
    set.drawOrder.clear();
    if (static_cast<int>(set.filters.size()) > MAX_CELL_ORDERED_FILTERS) {
        orderByDistance(set, view);
    } else {
        orderByCells(set, view);
    }
}
