#include "solver/Reach.h"
#include "solver/TracedLight.h"
#include "solver/Turnables.h"

#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Wall.h"
#include "laser/LaserBeam.h"
#include "laser/Tracer.h"
#include "level/Level.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace solver {

namespace {

// Colour sets: bit c stands for the colour code c (0 to 7).
using Colours = unsigned;

Colours only(int colour) {
    return 1u << (colour & 7);
}

// Every colour a set can become through any of the filters, any number of times.
Colours filtered(Colours set, const std::vector<int>& filters) {
    for (bool grew = true; grew;) {
        grew = false;
        for (int c = 0; c < 8; ++c) {
            for (int f : filters) {
                if ((set >> c & 1) && !(set >> (c & f) & 1)) {
                    set |= only(c & f);
                    grew = true;
                }
            }
        }
    }
    return set;
}

// Every mix of colours of a set that a collector can send out (none when it gets nothing).
Colours mixed(Colours set) {
    for (bool grew = true; grew;) {
        grew = false;
        for (int a = 1; a < 8; ++a) {
            for (int b = 1; b < 8; ++b) {
                if ((set >> a & 1) && (set >> b & 1) && !(set >> (a | b) & 1)) {
                    set |= only(a | b);
                    grew = true;
                }
            }
        }
    }
    return set & ~only(0);
}

// A fixed line of light: from an element along its -Z to the first thing other than a turnable
// element it meets, and whether it passes a turnable element's sphere on the way.
struct Line {
    ActiveObject* source;
    ActiveObject* end; ///< null for none, or a wall
    bool passesTurnable;
    FixedLine geometry;
};

Line lineFrom(Level& level, ActiveObject& source, const std::vector<Turnable>& turnables) {
    std::vector<ActiveObject*> fixed;
    for (ActiveObject* object : level.activeObjects) {
        const bool turnable = std::any_of(turnables.begin(), turnables.end(),
                                          [&](const Turnable& t) { return t.element == object; });
        if (!turnable) {
            fixed.push_back(object);
        }
    }
    const Matrix& m = source.refreshedWorldMatrix();
    const Point d = source.beamDirection();
    const double origin[3] = {m[12], m[13], m[14]};
    const double dir[3] = {d[0], d[1], d[2]};
    LaserBeam probe(COLOR_WHITE, FULL_INTENSITY, &source, rayMatrix(origin, dir));
    float point[3], normal[3];
    const int hit = traceLaser(probe, point, normal, true, fixed, level);
    double length = std::numeric_limits<double>::infinity();
    if (hit >= 0) {
        length = std::sqrt((point[0] - origin[0]) * (point[0] - origin[0]) +
                           (point[1] - origin[1]) * (point[1] - origin[1]) +
                           (point[2] - origin[2]) * (point[2] - origin[2]));
    }
    const auto index = [&level](const ActiveObject* object) {
        const auto at = std::find(level.activeObjects.begin(), level.activeObjects.end(), object);
        return at == level.activeObjects.end() ? -1
                                               : static_cast<int>(at - level.activeObjects.begin());
    };
    ActiveObject* end = hit >= 0 ? fixed[hit] : nullptr;
    Line line{&source,
              end,
              false,
              {{origin[0], origin[1], origin[2]},
               {dir[0], dir[1], dir[2]},
               length,
               index(&source),
               end ? index(end) : -1}};
    for (const Turnable& t : turnables) {
        Segment s{};
        std::copy(origin, origin + 3, s.start);
        std::copy(dir, dir + 3, s.dir);
        s.length = length;
        line.passesTurnable = line.passesTurnable || along(s, t) >= 0;
    }
    return line;
}

// Whether the point lies within the wall slab (its box, turned, scaled and moved).
bool insideWall(Wall& wall, const double p[3]) {
    const Matrix inverse = invertMatrix(wall.refreshedWorldMatrix());
    Point local{static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]), 1};
    transformPoint(inverse, local);
    const float slack = 1e-3f;
    return std::fabs(local[0]) <= Wall::HALF_X + slack &&
           std::fabs(local[1]) <= Wall::HALF_Y + slack &&
           std::fabs(local[2]) <= Wall::HALF_Z + slack;
}

// Whether the rectangle from `corner` spanning `u` and `v` lies wholly within the slabs: its
// four corners within one slab (which is convex), or each quarter so, to a depth.
bool covered(const std::vector<Wall*>& walls, const double corner[3], const double u[3],
             const double v[3], int depth) {
    double corners[4][3];
    for (int k = 0; k < 3; ++k) {
        corners[0][k] = corner[k];
        corners[1][k] = corner[k] + u[k];
        corners[2][k] = corner[k] + v[k];
        corners[3][k] = corner[k] + u[k] + v[k];
    }
    for (Wall* wall : walls) {
        bool all = true;
        for (const auto& c : corners) {
            all = all && insideWall(*wall, c);
        }
        if (all) {
            return true;
        }
    }
    if (depth == 0) {
        return false;
    }
    const double hu[3] = {u[0] / 2, u[1] / 2, u[2] / 2};
    const double hv[3] = {v[0] / 2, v[1] / 2, v[2] / 2};
    for (int q = 0; q < 4; ++q) {
        double c[3];
        for (int k = 0; k < 3; ++k) {
            c[k] = corner[k] + (q & 1 ? hu[k] : 0) + (q & 2 ? hv[k] : 0);
        }
        if (!covered(walls, c, hu, hv, depth - 1)) {
            return false;
        }
    }
    return true;
}

// Whether the goal lies in a box of walls that the emitter is outside of: the box reaches from
// the goal along each axis a little into the first slab met there.
bool walledIn(Level& level, FinshHead& goal, const double emitter[3]) {
    std::vector<ActiveObject*> candidates;
    std::vector<Wall*> walls;
    for (ActiveObject* object : level.activeObjects) {
        if (auto* wall = dynamic_cast<Wall*>(object)) {
            candidates.push_back(wall);
            walls.push_back(wall);
        }
    }
    const Point c = goal.getBoundingCenter();
    const double centre[3] = {c[0], c[1], c[2]};
    double low[3], high[3];
    LaserBeam probe(COLOR_WHITE, FULL_INTENSITY, nullptr);
    for (int axis = 0; axis < 3; ++axis) {
        for (int side = -1; side <= 1; side += 2) {
            double dir[3] = {0, 0, 0};
            dir[axis] = side;
            probe.setLocalMatrix(rayMatrix(centre, dir));
            float point[3], normal[3];
            if (traceLaser(probe, point, normal, true, candidates, level) < 0) {
                return false;
            }
            // Half a unit into the slab.
            (side < 0 ? low : high)[axis] = point[axis] + side * 0.5;
        }
    }
    bool outside = false;
    for (int k = 0; k < 3; ++k) {
        outside = outside || emitter[k] < low[k] || emitter[k] > high[k];
    }
    if (!outside) {
        return false;
    }
    // The six faces.
    for (int axis = 0; axis < 3; ++axis) {
        const int a = (axis + 1) % 3, b = (axis + 2) % 3;
        for (int side = 0; side < 2; ++side) {
            double corner[3], u[3] = {0, 0, 0}, v[3] = {0, 0, 0};
            corner[axis] = side ? high[axis] : low[axis];
            corner[a] = low[a];
            corner[b] = low[b];
            u[a] = high[a] - low[a];
            v[b] = high[b] - low[b];
            if (!covered(walls, corner, u, v, 6)) {
                return false;
            }
        }
    }
    return true;
}

// Every colour that filters and collectors can make of a set.
Colours made(Colours set, const std::vector<int>& filters, bool collectors) {
    for (Colours before = 0; before != set;) {
        before = set;
        set = filtered(set, filters);
        if (collectors) {
            set |= mixed(set & ~only(0));
        }
    }
    return set;
}

// Whether every goal can get its colour: what each line carries, and what turnable elements (and
// when `carrying`, carried holders, which take up any line) can take up and send anywhere. With
// `needs`, for the goals that cannot, the lines from which a carry could make their colour.
bool goalColoursMade(Level& level, const std::vector<Line>& lines,
                     const std::vector<Collector*>& collectors, const std::vector<int>& filters,
                     bool carrying, std::vector<GoalNeeds>* needs = nullptr) {
    std::vector<Colours> carried(lines.size(), 0);
    carried[0] = only(COLOR_WHITE);
    Colours free = 0;
    for (bool grew = true; grew;) {
        grew = false;
        const auto add = [&grew](Colours& set, Colours more) {
            grew = grew || (set | more) != set;
            set |= more;
        };
        for (std::size_t l = 0; l < lines.size(); ++l) {
            if (lines[l].passesTurnable || carrying) {
                add(free, filtered(carried[l], filters));
            }
        }
        for (std::size_t c = 0; c < collectors.size(); ++c) {
            Colours in = free;
            for (std::size_t l = 0; l < lines.size(); ++l) {
                if (lines[l].end == collectors[c]) {
                    in |= filtered(carried[l], filters);
                }
            }
            add(carried[c + 1], mixed(in & ~only(0)));
        }
    }
    bool all = true;
    for (FinshHead* goal : level.goals) {
        Colours in = free;
        for (std::size_t l = 0; l < lines.size(); ++l) {
            if (lines[l].end == goal) {
                in |= filtered(carried[l], filters);
            }
        }
        const bool reached = in >> goal->requiredColor & 1;
        all = all && reached;
        if (needs) {
            GoalNeeds need;
            need.carry = !reached;
            for (int f : filters) {
                if ((f & goal->requiredColor) == goal->requiredColor) {
                    need.filterable |= ~f & 7;
                }
            }
            for (std::size_t l = 0; l < lines.size() && need.carry; ++l) {
                const Colours taken = made(free | carried[l], filters, !collectors.empty());
                if (!lines[l].passesTurnable && (taken >> goal->requiredColor & 1)) {
                    need.lines.push_back(lines[l].geometry);
                }
            }
            needs->push_back(need);
        }
    }
    return all;
}

// The fixed lines of light (the emitter's first, then each collector's in the order of
// level.activeObjects), the collectors and the codes of the turnable filters.
struct LevelLight {
    std::vector<Line> lines;
    std::vector<Collector*> collectors;
    std::vector<int> filters;
};

LevelLight fixedLight(Level& level, Emitter& emitter, const std::vector<Turnable>& turnables) {
    LevelLight light;
    for (const Turnable& t : turnables) {
        if (const ColorFilter* filter = t.element->asColorFilter()) {
            light.filters.push_back(filter->colorCode);
        }
    }
    light.lines.push_back(lineFrom(level, emitter, turnables));
    for (ActiveObject* object : level.activeObjects) {
        if (auto* collector = dynamic_cast<Collector*>(object)) {
            light.collectors.push_back(collector);
            light.lines.push_back(lineFrom(level, *collector, turnables));
        }
    }
    return light;
}

// The level's emitter (the first element), or null, and its place.
Emitter* levelEmitter(Level& level, double origin[3]) {
    auto* emitter =
        level.activeObjects.empty() ? nullptr : dynamic_cast<Emitter*>(level.activeObjects.front());
    if (emitter) {
        const Matrix& e = emitter->refreshedWorldMatrix();
        for (int k = 0; k < 3; ++k) {
            origin[k] = e[12 + k];
        }
    }
    return emitter;
}

} // namespace

Reach goalsReach(Level& level, const std::vector<Turnable>& turnables, bool carry,
                 std::vector<GoalNeeds>* needs) {
    if (needs) {
        needs->assign(level.goals.size(), GoalNeeds{});
    }
    double origin[3];
    Emitter* emitter = levelEmitter(level, origin);
    if (!emitter || level.goals.empty()) {
        return Reach::Turning;
    }
    for (FinshHead* goal : level.goals) {
        if (walledIn(level, *goal, origin)) {
            return Reach::Never;
        }
    }

    const LevelLight light = fixedLight(level, *emitter, turnables);
    if (!goalColoursMade(level, light.lines, light.collectors, light.filters, true)) {
        return Reach::Never;
    }
    std::vector<GoalNeeds> missed;
    if (!goalColoursMade(level, light.lines, light.collectors, light.filters, false, &missed)) {
        if (needs) {
            *needs = missed;
        }
        return carry ? Reach::Carrying : Reach::Never;
    }
    return Reach::Turning;
}

std::vector<GoalBlock> blockedGoals(Level& level, const std::vector<Turnable>& turnables) {
    std::vector<GoalBlock> blocks(level.goals.size(), GoalBlock::None);
    double origin[3];
    Emitter* emitter = levelEmitter(level, origin);
    if (!emitter) {
        return blocks;
    }
    const LevelLight light = fixedLight(level, *emitter, turnables);
    std::vector<GoalNeeds> made;
    goalColoursMade(level, light.lines, light.collectors, light.filters, true, &made);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (walledIn(level, *level.goals[i], origin)) {
            blocks[i] = GoalBlock::WalledIn;
        } else if (made[i].carry) {
            blocks[i] = GoalBlock::ColourNotMade;
        }
    }
    return blocks;
}

} // namespace solver
