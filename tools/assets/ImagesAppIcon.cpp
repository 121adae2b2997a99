#include "assets/ImagesAppIcon.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

/// The shape grown by `grow` with an edge that fades over `spread`: glows.
Distance soft(const Distance& shape, float grow, float spread) {
    return [shape, grow, spread](float x, float y) { return (shape(x, y) - grow) / spread; };
}

/// A glow that fades from `colour` at the shape to nothing `reach` away from it.
void glow(RgbaImage& image, const Distance& clip, const Distance& shape, float reach,
          const Rgba& colour) {
    fill(image, intersect(clip, soft(shape, reach, reach)),
         [shape, reach, colour](float x, float y) {
             const float t = std::min(1.0f, std::max(0.0f, shape(x, y)) / reach);
             return fade(colour, (1 - t) * (1 - t));
         });
}

} // namespace

RgbaImage makeAppIcon(int size) {
    if (size < APP_ICON_MIN_SIZE) {
        throw std::invalid_argument("an icon needs at least " + std::to_string(APP_ICON_MIN_SIZE) +
                                    " pixels, not " + std::to_string(size));
    }
    RgbaImage image(size, size);
    const float s = float(size);
    const Distance square = roundRect(0.5f, 0.5f, s - 0.5f, s - 0.5f, 0.18f * s);
    fill(image, square, vertical(0, Rgba{30, 40, 62, 255}, s, Rgba{5, 7, 12, 255}));

    // The law of reflection sets the pane: the beam comes in along +x and leaves up and to the
    // right, so the pane's face looks along the difference of the two directions.
    const float hx = APP_ICON_HIT_X * s, hy = APP_ICON_HIT_Y * s;
    const float outX = 0.34f, outY = -0.94f;
    const float nLength = std::hypot(outX - 1, outY);
    const float nx = (outX - 1) / nLength, ny = outY / nLength; // the face's normal
    const float ax = -ny, ay = nx;                              // along the pane
    const float half = 0.31f * s, thick = 0.11f * s;
    // The pane lies behind its face, which passes through the hit point.
    const float cx = hx - nx * thick / 2, cy = hy - ny * thick / 2;
    // A rectangle in the pane's own axes, corners rounded a little.
    const Distance box = roundRect(-half, -thick / 2, half, thick / 2, 0.015f * s);
    const Distance pane = [=](float x, float y) {
        return box((x - cx) * ax + (y - cy) * ay, (x - cx) * nx + (y - cy) * ny);
    };
    fill(image, soft(pane, 0.02f * s, 0.04f * s), Rgba{0, 0, 0, 140});
    // Glass: light behind the face, dark at the back.
    fill(image, pane, [=](float x, float y) {
        const float depth = ((hx - x) * nx + (hy - y) * ny) / thick;
        return mix(Rgba{150, 185, 215, 255}, Rgba{34, 44, 64, 255},
                   std::min(1.0f, std::max(0.0f, depth)));
    });
    const float fx = hx + nx * 0.01f * s, fy = hy + ny * 0.01f * s;
    const float faceHalf = half - 0.01f * s;
    const Distance face = segment(fx - ax * faceHalf, fy - ay * faceHalf, fx + ax * faceHalf,
                                  fy + ay * faceHalf, std::max(2.0f, 0.03f * s));
    fill(image, face, Rgba{215, 240, 255, 255});

    // The beam: in from the left edge, out through the top edge.
    const float reach = hy / -outY;
    const Distance beam =
        unite(segment(-s, hy, hx, hy, 1),
              segment(hx, hy, hx + outX * reach * 1.2f, hy + outY * reach * 1.2f, 1));
    const Rgba red{255, 40, 24, 255};
    glow(image, square, beam, 0.10f * s, fade(red, 0.85f));
    glow(image, square, circle(hx, hy, 0.02f * s), 0.16f * s, Rgba{255, 120, 70, 230});
    fill(image, intersect(square, soft(beam, 0.028f * s, 0.012f * s + 0.6f)),
         Rgba{255, 120, 96, 255});
    fill(image, intersect(square, soft(beam, 0.014f * s, 0.006f * s + 0.4f)),
         Rgba{255, 250, 240, 255});
    fill(image, circle(hx, hy, 0.035f * s), Rgba{255, 255, 250, 255});
    return image;
}

const std::vector<GeneratedImage>& generatedIconFiles() {
    static const std::vector<GeneratedImage> files = [] {
        std::vector<GeneratedImage> all;
        for (int size : {48, 128, 256}) {
            all.push_back({"icons/beamworks" + std::to_string(size) + ".png",
                           [size] { return makeAppIcon(size); }});
        }
        return all;
    }();
    return files;
}
