#include "assets/ImagesCanvas.h"

#include "assets/PixelFont.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float PI = 3.14159265358979f;

float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

std::uint8_t toByte(float v) {
    return std::uint8_t(std::lround(std::min(255.0f, std::max(0.0f, v))));
}

float segmentDistance(float px, float py, float x0, float y0, float x1, float y1) {
    const float dx = x1 - x0, dy = y1 - y0;
    const float length2 = dx * dx + dy * dy;
    const float t = length2 > 0 ? clamp01(((px - x0) * dx + (py - y0) * dy) / length2) : 0;
    return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}

} // namespace

Rgba mix(const Rgba& a, const Rgba& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Rgba fade(const Rgba& c, float k) {
    return {c.r, c.g, c.b, c.a * k};
}

RgbaImage::RgbaImage(int w, int h)
    : width(w), height(h), pixels(std::size_t(w) * std::size_t(h) * 4, 0) {}

void RgbaImage::set(int x, int y, const Rgba& c) {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return;
    }
    std::uint8_t* p = &pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4];
    p[0] = toByte(c.r);
    p[1] = toByte(c.g);
    p[2] = toByte(c.b);
    p[3] = toByte(c.a);
}

void RgbaImage::blend(int x, int y, const Rgba& c, float coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return;
    }
    const float sa = clamp01(c.a / 255.0f * coverage);
    if (sa <= 0) {
        return;
    }
    std::uint8_t* p = &pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4];
    const float da = p[3] / 255.0f;
    const float oa = sa + da * (1 - sa);
    const auto channel = [&](float s, std::uint8_t d) {
        return toByte((s * sa + float(d) * da * (1 - sa)) / oa);
    };
    p[0] = channel(c.r, p[0]);
    p[1] = channel(c.g, p[1]);
    p[2] = channel(c.b, p[2]);
    p[3] = toByte(oa * 255.0f);
}

void fill(RgbaImage& image, const Distance& shape, const Paint& paint) {
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const float px = float(x) + 0.5f, py = float(y) + 0.5f;
            const float coverage = clamp01(0.5f - shape(px, py));
            if (coverage > 0) {
                image.blend(x, y, paint(px, py), coverage);
            }
        }
    }
}

void fill(RgbaImage& image, const Distance& shape, const Rgba& colour) {
    fill(image, shape, [colour](float, float) { return colour; });
}

Distance roundRect(float x0, float y0, float x1, float y1, float radius) {
    const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    return [=](float x, float y) {
        const float qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
        const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        return outside + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Distance circle(float cx, float cy, float radius) {
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Distance segment(float x0, float y0, float x1, float y1, float width) {
    return [=](float x, float y) { return segmentDistance(x, y, x0, y0, x1, y1) - width / 2; };
}

Distance polyline(const std::vector<float>& xy, float width) {
    return [xy, width](float x, float y) {
        float best = 1e9f;
        for (std::size_t i = 0; i + 3 < xy.size(); i += 2) {
            best = std::min(best, segmentDistance(x, y, xy[i], xy[i + 1], xy[i + 2], xy[i + 3]));
        }
        return best - width / 2;
    };
}

Distance ring(float cx, float cy, float radius, float width, float gapDegrees) {
    const float gap = gapDegrees * PI / 180;
    // End points of the ring next to the gap.
    const float ex = std::sin(gap) * radius, ey = -std::cos(gap) * radius;
    return [=](float x, float y) {
        const float dx = x - cx, dy = y - cy;
        // Angle from straight up, 0 to pi either way.
        const float angle = std::atan2(std::abs(dx), -dy);
        if (gap > 0 && angle < gap) {
            const float d = std::min(std::hypot(dx - ex, dy - ey), std::hypot(dx + ex, dy - ey));
            return d - width / 2;
        }
        return std::abs(std::hypot(dx, dy) - radius) - width / 2;
    };
}

Distance ellipse(float cx, float cy, float rx, float ry) {
    return [=](float x, float y) {
        const float nx = (x - cx) / rx, ny = (y - cy) / ry;
        const float k = std::hypot(nx, ny);
        // First-order distance: the normalised radius minus one, scaled back by the local radius.
        return (k - 1) * std::min(rx, ry);
    };
}

Distance ellipseRing(float cx, float cy, float rx, float ry, float width) {
    return outline(ellipse(cx, cy, rx, ry), width);
}

Distance outline(const Distance& shape, float width) {
    return [shape, width](float x, float y) { return std::abs(shape(x, y)) - width / 2; };
}

Distance cut(const Distance& a, const Distance& b) {
    return [a, b](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Distance unite(const Distance& a, const Distance& b) {
    return [a, b](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Distance intersect(const Distance& a, const Distance& b) {
    return [a, b](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

Paint vertical(float y0, const Rgba& top, float y1, const Rgba& bottom) {
    return [=](float, float y) { return mix(top, bottom, clamp01((y - y0) / (y1 - y0))); };
}

Paint horizontal(float x0, const Rgba& left, float x1, const Rgba& right) {
    return [=](float x, float) { return mix(left, right, clamp01((x - x0) / (x1 - x0))); };
}

int drawText(RgbaImage& image, int x, int y, const std::string& text, int scale, const Rgba& colour,
             int gap) {
    int penX = x;
    bool first = true;
    for (char c : text) {
        if (!pixelfont::hasGlyph(c)) {
            continue;
        }
        if (!first) {
            penX += gap * scale;
        }
        first = false;
        const int columns = pixelfont::glyphColumns(c);
        for (int row = 0; row < pixelfont::GLYPH_ROWS; ++row) {
            for (int column = 0; column < columns; ++column) {
                if (!pixelfont::glyphPixel(c, column, row)) {
                    continue;
                }
                for (int dy = 0; dy < scale; ++dy) {
                    for (int dx = 0; dx < scale; ++dx) {
                        image.blend(penX + column * scale + dx, y + row * scale + dy, colour);
                    }
                }
            }
        }
        penX += columns * scale;
    }
    return penX - x;
}

int textWidth(const std::string& text, int scale, int gap) {
    return pixelfont::textColumns(text, gap) * scale;
}
