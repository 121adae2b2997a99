#include "assets/ImagesIcons.h"

#include "assets/PixelFont.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace {

constexpr float LINE = 2.5f;

/// The pixels of text in the pixel font at `scale`, centred on (cx, cy), as a shape.
Distance textShape(const std::string& text, int scale, float cx, float cy) {
    const float left = cx - float(textWidth(text, scale)) / 2;
    const float top = cy - float(pixelfont::GLYPH_ROWS * scale) / 2;
    std::vector<std::pair<float, float>> blocks; // top left corners of the font pixels
    float pen = left;
    for (char c : text) {
        const int columns = pixelfont::glyphColumns(c);
        for (int row = 0; row < pixelfont::GLYPH_ROWS; ++row) {
            for (int column = 0; column < columns; ++column) {
                if (pixelfont::glyphPixel(c, column, row)) {
                    blocks.push_back({pen + float(column * scale), top + float(row * scale)});
                }
            }
        }
        pen += float((columns + 1) * scale);
    }
    const float half = float(scale) / 2;
    return [blocks, half](float x, float y) {
        float best = 1e9f;
        for (const auto& b : blocks) {
            const float qx = std::abs(x - (b.first + half)) - half;
            const float qy = std::abs(y - (b.second + half)) - half;
            const float d = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) +
                            std::min(std::max(qx, qy), 0.0f);
            best = std::min(best, d);
        }
        return best;
    };
}

Distance squareOutline(float x0, float y0, float x1, float y1) {
    return outline(roundRect(x0, y0, x1, y1, 1), LINE);
}

// Each symbol is drawn around (0, 0); iconShape moves it into place.

Distance wireframe() {
    // A wire cube: front face, back face up and to the right, and the four edges between.
    const float f0 = -13, f1 = 5, d = 8;
    Distance s = squareOutline(f0, f0 + d, f1, f1 + d);
    s = unite(s, squareOutline(f0 + d, f0, f1 + d, f1));
    s = unite(s, segment(f0, f0 + d, f0 + d, f0, LINE));
    s = unite(s, segment(f1, f0 + d, f1 + d, f0, LINE));
    s = unite(s, segment(f0, f1 + d, f0 + d, f1, LINE));
    s = unite(s, segment(f1, f1 + d, f1 + d, f1, LINE));
    return s;
}

Distance boundingSphere() {
    // A sphere's outline with its equator, around a small solid core.
    Distance s = ring(0, 0, 14, LINE);
    s = unite(s, ellipseRing(0, 0, 14, 5, 1.5f));
    s = unite(s, roundRect(-4, -4, 4, 4, 1));
    return s;
}

Distance texture() {
    // A framed four by four checkerboard.
    Distance s = outline(roundRect(-14, -14, 14, 14, 1.5f), 2);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            if ((row + column) % 2 == 0) {
                const float x = -14 + float(column) * 7, y = -14 + float(row) * 7;
                s = unite(s, roundRect(x, y, x + 7, y + 7, 0.5f));
            }
        }
    }
    return s;
}

Distance mipmap() {
    // Three squares, each half the size of the one before, on one base line.
    const float base = 10;
    Distance s = roundRect(-16, base - 16, 0, base, 1);
    s = unite(s, roundRect(3, base - 8, 11, base, 1));
    s = unite(s, roundRect(14, base - 4, 18, base, 0.5f));
    s = cut(s, roundRect(-13, base - 13, -3, base - 3, 0.5f));
    return unite(s, roundRect(-10, base - 10, -6, base - 6, 0.5f));
}

Distance frustum() {
    // A view pyramid from the eye on the left: near and far planes and the two side edges.
    Distance s = circle(-15, 0, 2.5f);
    s = unite(s, segment(-15, 0, 14, -14, LINE));
    s = unite(s, segment(-15, 0, 14, 14, LINE));
    s = unite(s, segment(14, -14, 14, 14, LINE + 0.5f));
    s = unite(s, segment(-5, -5, -5, 5, LINE));
    return s;
}

Distance transparency() {
    // Two overlapping panes: a solid one behind, an outlined one in front that shows it through.
    const Distance back = roundRect(-14, -14, 6, 6, 2);
    const Distance front = roundRect(-6, -6, 14, 14, 2);
    return unite(cut(back, roundRect(-4, -4, 12, 12, 1)), outline(front, LINE));
}

Distance mirroring() {
    // A ray reflected by a mirror, the mirror hatched on its back.
    Distance s = segment(-16, 8, 16, 8, 3);
    for (int i = 0; i < 5; ++i) {
        const float x = -14 + float(i) * 7;
        s = unite(s, segment(x, 12, x - 4, 16, 1.5f));
    }
    s = unite(s, polyline({-14, -14, 0, 6, 14, -14}, LINE));
    s = unite(s, polyline({9, -14, 14, -14, 13.5f, -9}, LINE));
    return s;
}

Distance laserCount() {
    // A beam broken into segments, a dot at every turn.
    const std::vector<float> points = {-16, 12, -7, -12, 2, 12, 11, -12, 16, -2};
    Distance s = polyline(points, LINE);
    for (std::size_t i = 2; i + 3 < points.size(); i += 2) {
        s = unite(s, circle(points[i], points[i + 1], 3));
    }
    return s;
}

Distance light() {
    // A sun: a disc and eight rays.
    Distance s = circle(0, 0, 6.5f);
    for (int i = 0; i < 8; ++i) {
        const float a = float(i) * 3.14159265f / 4;
        s = unite(s, segment(std::cos(a) * 10, std::sin(a) * 10, std::cos(a) * 15, std::sin(a) * 15,
                             LINE));
    }
    return s;
}

Distance fullscreen() {
    // Four corners pointing outwards.
    Distance s = [](float, float) { return 1e9f; }; // nothing yet
    const float e = 14, l = 9;
    for (int sx = -1; sx <= 1; sx += 2) {
        for (int sy = -1; sy <= 1; sy += 2) {
            const float x = e * float(sx), y = e * float(sy);
            s = unite(s, polyline({x - l * float(sx), y, x, y, x, y - l * float(sy)}, 3));
            s = unite(s, segment(x * 0.45f, y * 0.45f, x * 0.8f, y * 0.8f, 2));
        }
    }
    return s;
}

Distance audio() {
    // Two beamed quavers.
    Distance s = ellipse(-8, 10, 5, 3.8f);
    s = unite(s, ellipse(8, 6, 5, 3.8f));
    s = unite(s, segment(-3.5f, 10, -3.5f, -10, LINE));
    s = unite(s, segment(12.5f, 6, 12.5f, -14, LINE));
    s = unite(s, polyline({-3.5f, -10, 12.5f, -14}, 4.5f));
    return s;
}

Distance exitDoor() {
    // A door frame with an arrow leaving it.
    Distance s = polyline({2, -8, 2, -15, -14, -15, -14, 15, 2, 15, 2, 8}, LINE);
    s = unite(s, segment(-7, 0, 14, 0, 3));
    s = unite(s, polyline({8, -7, 15, 0, 8, 7}, 3));
    return s;
}

Distance gear() {
    // A toothed wheel round a hole.
    Distance s = ring(0, 0, 9, 4);
    for (int tooth = 0; tooth < 8; ++tooth) {
        const float a = float(tooth) * 3.14159265f / 4;
        s = unite(
            s, segment(9 * std::cos(a), 9 * std::sin(a), 15 * std::cos(a), 15 * std::sin(a), 4.5f));
    }
    return s;
}

Distance powerSymbol() {
    // The power sign: a ring open at the top and a bar through the opening.
    return unite(ring(0, 0, 11, 3.5f, 38), segment(0, -15, 0, -3, 3.5f));
}

Distance fps() {
    return textShape("FPS", 2, 0, 0);
}

using Maker = Distance (*)();

const std::map<std::string, Maker>& makers() {
    static const std::map<std::string, Maker> all = {
        {"wireframe", wireframe},   {"boundingsphere", boundingSphere},
        {"texture", texture},       {"mipmap", mipmap},
        {"frustum", frustum},       {"transparency", transparency},
        {"mirroring", mirroring},   {"fps", fps},
        {"nol", laserCount},        {"light", light},
        {"fullscreen", fullscreen}, {"audio", audio},
        {"exit", exitDoor},         {"power", powerSymbol},
        {"settings", gear},
    };
    return all;
}

} // namespace

bool hasIcon(const std::string& id) {
    return makers().count(id) > 0;
}

Distance iconShape(const std::string& id, float cx, float cy) {
    const auto found = makers().find(id);
    if (found == makers().end()) {
        throw std::invalid_argument("no symbol for the switch \"" + id + "\"");
    }
    const Distance shape = found->second();
    return [shape, cx, cy](float x, float y) { return shape(x - cx, y - cy); };
}
