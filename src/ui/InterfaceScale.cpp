#include "ui/InterfaceScale.h"

#include <algorithm>
#include <cmath>

namespace {

int interfacePixel(int windowPixel, int size, int windowSize) {
    return static_cast<int>(
        std::floor((windowPixel + 0.5 - InterfaceScale::NUDGE) * size / windowSize));
}

int windowEdge(int pixel, int size, int windowSize) {
    return static_cast<int>(
        std::ceil(static_cast<double>(pixel) * windowSize / size - 0.5 + InterfaceScale::NUDGE));
}

} // namespace

InterfaceScale InterfaceScale::fit(int windowWidth, int windowHeight, double asked, int minWidth,
                                   int minHeight) {
    InterfaceScale s;
    s.windowWidth = s.width = std::max(1, windowWidth);
    s.windowHeight = s.height = std::max(1, windowHeight);
    const double room = std::min(static_cast<double>(s.windowWidth) / minWidth,
                                 static_cast<double>(s.windowHeight) / minHeight);
    const double scale = std::min(asked, room);
    if (scale > 1) { // false for NaN as well
        s.width = static_cast<int>(std::lround(s.windowWidth / scale));
        s.height = static_cast<int>(std::lround(s.windowHeight / scale));
    }
    return s;
}

int InterfaceScale::toInterfaceX(int windowX) const {
    return interfacePixel(windowX, width, windowWidth);
}

int InterfaceScale::toInterfaceY(int windowY) const {
    return interfacePixel(windowY, height, windowHeight);
}

int InterfaceScale::toWindowX(int interfaceX) const {
    return windowEdge(interfaceX, width, windowWidth);
}

int InterfaceScale::toWindowY(int interfaceY) const {
    return windowEdge(interfaceY, height, windowHeight);
}

gcn::Rectangle InterfaceScale::toWindow(const gcn::Rectangle& r) const {
    const int x0 = toWindowX(r.x), y0 = toWindowY(r.y);
    return {x0, y0, toWindowX(r.x + r.width) - x0, toWindowY(r.y + r.height) - y0};
}
