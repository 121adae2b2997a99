#include "rules/ColourLabels.h"

#include <algorithm>
#include <cmath>

std::string colourName(signed char colorCode) {
    static const char* const NAMES[] = {"BLACK", "RED",     "GREEN", "YELLOW",
                                        "BLUE",  "MAGENTA", "CYAN",  "WHITE"};
    return colorCode >= 0 && colorCode <= 7 ? NAMES[colorCode] : NAMES[0];
}

std::string goalLabel(signed char wanted, const std::vector<signed char>& arriving,
                      bool satisfied) {
    if (satisfied) {
        return colourName(wanted) + " - OPEN";
    }
    std::string label = "WANTS " + colourName(wanted);
    std::vector<signed char> seen;
    for (signed char c : arriving) {
        if (std::find(seen.begin(), seen.end(), c) == seen.end()) {
            seen.push_back(c);
        }
    }
    for (std::size_t i = 0; i < seen.size(); ++i) {
        label += (i == 0 ? " - GETS " : " + ") + colourName(seen[i]);
    }
    return label;
}

std::string filterLabel(signed char passes) {
    return "PASSES " + colourName(passes);
}

LabelPlace placeLabel(double x, double y, int width, int height, const LabelArea& area,
                      double objectX, double objectY) {
    const auto inArea = [&](double px, double py) {
        return px >= area.left && px < area.right && py >= area.top && py < area.bottom;
    };
    if (!inArea(x, y) && inArea(objectX, objectY)) {
        x = objectX;
        y = objectY;
    }
    // The label's own room: its text must fit inside the area whole.
    const double left = area.left + width / 2.0, right = area.right - width / 2.0;
    const double top = area.top + height, bottom = area.bottom;
    LabelPlace place;
    if (!inArea(x, y)) {
        // Out of view (or not a number): along the line from the centre to the edge it crosses.
        const double cx = (area.left + area.right) / 2.0, cy = (area.top + area.bottom) / 2.0;
        double dx = x - cx, dy = y - cy;
        if (!std::isfinite(dx) || !std::isfinite(dy) || (dx == 0 && dy == 0)) {
            dx = 0;
            dy = 1;
        }
        const double sx = dx != 0 ? std::abs((dx > 0 ? right - cx : cx - left) / dx) : INFINITY;
        const double sy = dy != 0 ? std::abs((dy > 0 ? bottom - cy : cy - top) / dy) : INFINITY;
        const double s = std::max(0.0, std::min(sx, sy));
        x = cx + dx * s;
        y = cy + dy * s;
        place.edge = sx <= sy ? (dx > 0 ? LabelEdge::Right : LabelEdge::Left)
                              : (dy > 0 ? LabelEdge::Bottom : LabelEdge::Top);
    }
    x = std::clamp(x, std::min(left, right), std::max(left, right));
    y = std::clamp(y, std::min(top, bottom), std::max(top, bottom));
    place.x = static_cast<int>(std::lround(x - width / 2.0));
    place.y = static_cast<int>(std::lround(y)) - height;
    return place;
}

std::string withEdgeArrow(const std::string& text, LabelEdge edge) {
    switch (edge) {
    case LabelEdge::Left:
        return "< " + text;
    case LabelEdge::Right:
        return text + " >";
    case LabelEdge::Top:
        return "^ " + text;
    case LabelEdge::Bottom:
        return "v " + text;
    case LabelEdge::None:
        break;
    }
    return text;
}
