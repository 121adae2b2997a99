#pragma once
// A small RGBA painter for the interface pictures: shapes given as signed distance functions and
// blended with anti-aliased edges, colour gradients, and text in our pixel font.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/// A colour with straight (not premultiplied) alpha, channels 0 to 255.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 255;
};

/// Linear mix of two colours, alpha included; t = 0 gives a, t = 1 gives b.
Rgba mix(const Rgba& a, const Rgba& b, float t);
/// The colour with its alpha multiplied by k.
Rgba fade(const Rgba& c, float k);

/// 8-bit RGBA pixels, rows from the top of the picture down, four bytes per pixel.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    RgbaImage() = default;
    /// A picture of w x h transparent black pixels.
    RgbaImage(int w, int h);
    /// Channel c (0 red, 1 green, 2 blue, 3 alpha) of pixel (x, y); no bounds check.
    std::uint8_t at(int x, int y, int c) const {
        return pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4 + std::size_t(c)];
    }
    /// Replaces pixel (x, y) without blending; ignored outside the picture.
    void set(int x, int y, const Rgba& c);
    /// Blends c over pixel (x, y) with the given coverage (0 to 1); ignored outside.
    void blend(int x, int y, const Rgba& c, float coverage = 1);
};

/// Signed distance from a point to a shape: negative inside, positive outside, in pixels.
using Distance = std::function<float(float x, float y)>;
/// Colour of a shape at a point.
using Paint = std::function<Rgba(float x, float y)>;

/// Blends paint over every pixel inside shape; pixel centres sit at half-integer coordinates and
/// the edge is anti-aliased over one pixel.
void fill(RgbaImage& image, const Distance& shape, const Paint& paint);
void fill(RgbaImage& image, const Distance& shape, const Rgba& colour);

// Shapes.
Distance roundRect(float x0, float y0, float x1, float y1, float radius);
Distance circle(float cx, float cy, float radius);
/// A round-capped line of the given width.
Distance segment(float x0, float y0, float x1, float y1, float width);
/// A line along connected points, round joins.
Distance polyline(const std::vector<float>& xy, float width);
/// A ring of the given line width around a circle, without the part within `gapDegrees` either
/// side of straight up (0 for a full ring).
Distance ring(float cx, float cy, float radius, float width, float gapDegrees = 0);
/// An axis-aligned ellipse outline of the given line width (approximate distance).
Distance ellipseRing(float cx, float cy, float rx, float ry, float width);
/// A filled axis-aligned ellipse (approximate distance).
Distance ellipse(float cx, float cy, float rx, float ry);
/// The outline of a shape, `width` wide, centred on its edge.
Distance outline(const Distance& shape, float width);
/// Points in a but not in b.
Distance cut(const Distance& a, const Distance& b);
/// Points in a or b.
Distance unite(const Distance& a, const Distance& b);
/// Points in a and b.
Distance intersect(const Distance& a, const Distance& b);

/// A vertical gradient from `top` at y0 to `bottom` at y1, constant beyond.
Paint vertical(float y0, const Rgba& top, float y1, const Rgba& bottom);
/// A horizontal gradient from `left` at x0 to `right` at x1, constant beyond.
Paint horizontal(float x0, const Rgba& left, float x1, const Rgba& right);

/// Draws text in the pixel font with its top left corner at (x, y), each font pixel a
/// scale x scale block, `gap` font pixels between glyphs. Returns the width drawn in pixels.
int drawText(RgbaImage& image, int x, int y, const std::string& text, int scale, const Rgba& colour,
             int gap = 1);
/// Width in pixels that drawText would cover.
int textWidth(const std::string& text, int scale, int gap = 1);
