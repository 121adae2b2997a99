#include "assets/Textures.h"

#include "assets/TexturesNoise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

using namespace texnoise;

namespace {

struct Rgb {
    float r = 0, g = 0, b = 0;
};
Rgb operator*(const Rgb& c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}
Rgb operator+(const Rgb& a, const Rgb& b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Rgb mix(const Rgb& a, const Rgb& b, float t) {
    return a * (1 - t) + b * t;
}

/// A square grid of floats addressed with wrap-around, like the textures themselves.
struct Field {
    int size = 0;
    std::vector<float> values;
    explicit Field(int n) : size(n), values(std::size_t(n) * std::size_t(n)) {}
    float& at(int x, int y) { return values[std::size_t(y) * std::size_t(size) + std::size_t(x)]; }
    float get(int x, int y) const {
        return values[std::size_t(wrap(y, size)) * std::size_t(size) + std::size_t(wrap(x, size))];
    }
};

/// Box blur of radius r along both axes, wrapping around the edges.
Field blurred(const Field& in, int r) {
    const int n = in.size;
    Field across(n), out(n);
    const float scale = 1.0f / float(2 * r + 1);
    for (int y = 0; y < n; ++y) {
        float sum = 0;
        for (int k = -r; k <= r; ++k) {
            sum += in.get(k, y);
        }
        for (int x = 0; x < n; ++x) {
            across.at(x, y) = sum * scale;
            sum += in.get(x + r + 1, y) - in.get(x - r, y);
        }
    }
    for (int x = 0; x < n; ++x) {
        float sum = 0;
        for (int k = -r; k <= r; ++k) {
            sum += across.get(x, k);
        }
        for (int y = 0; y < n; ++y) {
            out.at(x, y) = sum * scale;
            sum += across.get(x, y + r + 1) - across.get(x, y - r);
        }
    }
    return out;
}

/// Lights a height field (in pixels) from the upper left: 1 on flat ground, brighter on slopes
/// facing the light, darker on slopes facing away, times an occlusion term that darkens
/// pixels lying below their surroundings.
Field lighting(const Field& height, float occlusionRadius, float occlusionStrength) {
    const int n = height.size;
    const Field around = blurred(height, std::max(1, int(std::lround(occlusionRadius))));
    const float lx = -0.45f, ly = -0.55f, lz = 0.70f;
    const float length = std::sqrt(lx * lx + ly * ly + lz * lz);
    Field light(n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            const float gx = 0.5f * (height.get(x + 1, y) - height.get(x - 1, y));
            const float gy = 0.5f * (height.get(x, y + 1) - height.get(x, y - 1));
            const float dot =
                (-gx * lx - gy * ly + lz) / (std::sqrt(gx * gx + gy * gy + 1) * length);
            const float lambert = std::max(0.0f, dot) / (lz / length);
            const float sunk = std::max(0.0f, around.get(x, y) - height.get(x, y));
            const float occlusion = 1.0f / (1.0f + occlusionStrength * sunk);
            light.at(x, y) = (0.3f + 0.7f * lambert) * occlusion;
        }
    }
    return light;
}

std::uint8_t toByte(float v) {
    return std::uint8_t(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

void put(RgbImage& image, int x, int y, const Rgb& c) {
    std::uint8_t* p =
        &image.pixels[(std::size_t(y) * std::size_t(image.width) + std::size_t(x)) * 3];
    p[0] = toByte(c.r);
    p[1] = toByte(c.g);
    p[2] = toByte(c.b);
}

/// The surface colours times the light falling on each pixel.
RgbImage shaded(const std::vector<Rgb>& albedo, const Field& light) {
    const int n = light.size;
    RgbImage image(n, n);
    for (int y = 0; y < n; ++y) {
        for (int x = 0; x < n; ++x) {
            put(image, x, y,
                albedo[std::size_t(y) * std::size_t(n) + std::size_t(x)] * light.get(x, y));
        }
    }
    return image;
}

void checkSize(int size) {
    if (size < MIN_TEXTURE_SIZE) {
        throw std::invalid_argument("texture size " + std::to_string(size) + " is below " +
                                    std::to_string(MIN_TEXTURE_SIZE));
    }
}

/// Texture coordinate of the centre of pixel i.
float centre(int i, int size) {
    return (float(i) + 0.5f) / float(size);
}

/// The signed offset of t in [0, 1) from the nearest texture edge, in [-0.5, 0.5): continuous
/// across the seam between two copies of the texture.
float fromEdge(float t) {
    return t < 0.5f ? t : t - 1.0f;
}

/// Distance to the edge of a rectangle from inside, with corners rounded to radius r: a and b
/// are the distances to the nearest vertical and horizontal side.
float roundedInset(float a, float b, float r) {
    if (a < r && b < r) {
        return std::max(0.0f, r - std::hypot(r - a, r - b));
    }
    return std::min(a, b);
}

} // namespace

RgbImage makeBrushedMetal(int size) {
    checkSize(size);
    const std::uint32_t seed = 0x3E7A1u;
    RgbImage image(size, size);
    const Rgb steel{150, 155, 162};
    // Streaks: lattices much finer across the brushing (y) than along it (x).
    const int fine = std::max(1, size / 2), medium = std::max(1, size / 8);
    for (int y = 0; y < size; ++y) {
        const float v = centre(y, size);
        for (int x = 0; x < size; ++x) {
            const float u = centre(x, size);
            const float streaks =
                0.55f * (valueNoise(u * 6, v * fine, 6, fine, seed) - 0.5f) +
                0.35f * (valueNoise(u * 3, v * medium, 3, medium, seed + 1) - 0.5f) +
                0.25f * gradientNoise(u * 24, v * fine, 24, fine, seed + 2);
            const float clouds = fbm(u * 3, v * 3, 3, 3, 4, 0.5f, seed + 3);
            // A soft diagonal sheen band, periodic in both directions.
            const float sheen = std::cos(2 * 3.14159265f * (u + v) + 1.2f * clouds);
            const float k = 1.0f + 0.22f * streaks + 0.05f * clouds + 0.06f * sheen;
            put(image, x, y, steel * k);
        }
    }
    return image;
}

RgbImage makeLightMetal(int size) {
    checkSize(size);
    const std::uint32_t seed = 0x1A6E7u;
    RgbImage image(size, size);
    const Rgb aluminium{204, 209, 216};
    const int fine = std::max(1, size / 2);
    for (int y = 0; y < size; ++y) {
        const float v = centre(y, size);
        for (int x = 0; x < size; ++x) {
            const float u = centre(x, size);
            // Satin finish: faint brushing, an even bead-blast grain and a little clouding.
            const float brushing = valueNoise(u * 4, v * fine, 4, fine, seed) - 0.5f;
            const float grain =
                valueNoise(u * float(fine), v * float(fine), fine, fine, seed + 1) - 0.5f;
            const float clouds = fbm(u * 4, v * 4, 4, 4, 4, 0.5f, seed + 2);
            const float k = 1.0f + 0.05f * brushing + 0.08f * grain + 0.04f * clouds;
            put(image, x, y, aluminium * k);
        }
    }
    return image;
}

RgbImage makeStoneWall(int size) {
    checkSize(size);
    constexpr int ROWS = 10;
    const std::uint32_t seed = 0x570E5u;
    const float px = float(size) / 512.0f; // lengths below are in pixels of the 512 texture

    // Each course: an offset and the right ends of its five to seven blocks along [0, 1].
    struct Course {
        float offset = 0;
        std::vector<float> ends;
    };
    std::array<Course, ROWS> courses;
    for (int r = 0; r < ROWS; ++r) {
        const int count = 5 + int(hash(r, 0, seed) % 3);
        std::vector<float> weights;
        float total = 0;
        for (int i = 0; i < count; ++i) {
            weights.push_back(0.65f + 0.7f * hashUnit(r, i + 1, seed));
            total += weights.back();
        }
        float end = 0;
        for (float w : weights) {
            end += w / total;
            courses[r].ends.push_back(end);
        }
        courses[r].ends.back() = 1.0f;
        courses[r].offset = hashUnit(r, 100, seed);
    }

    const Rgb palette[3] = {{164, 155, 140}, {152, 150, 145}, {160, 146, 130}};
    const Rgb mortar{112, 106, 97};
    Field height(size);
    std::vector<Rgb> albedo(std::size_t(size) * std::size_t(size));
    for (int y = 0; y < size; ++y) {
        const float v = centre(y, size);
        for (int x = 0; x < size; ++x) {
            const float u = centre(x, size);
            // Slightly wavy joints.
            const float wu = u + 0.005f * fbm(u * 8, v * 8, 8, 8, 2, 0.5f, seed + 1);
            const float wv = v + 0.004f * fbm(u * 8, v * 8, 8, 8, 2, 0.5f, seed + 2);
            const float rowPos = wv * ROWS + 0.5f; // the edges cut courses in half
            const float rowFloor = std::floor(rowPos);
            const float inRow = rowPos - rowFloor;
            const int r = wrap(int(rowFloor), ROWS);
            const Course& course = courses[r];
            float t = wu - course.offset;
            t -= std::floor(t);
            int block = 0;
            while (block + 1 < int(course.ends.size()) && t >= course.ends[block]) {
                ++block;
            }
            const float start = block == 0 ? 0.0f : course.ends[block - 1];
            const float alongJoint = std::min(t - start, course.ends[block] - t) * float(size);
            const float acrossJoint = std::min(inRow, 1 - inRow) * float(size) / ROWS;
            // Chipped edges: the distance to the joint wanders with fine noise.
            const float inset = roundedInset(alongJoint, acrossJoint, 7 * px) +
                                2.0f * px * fbm(u * 32, v * 32, 32, 32, 3, 0.5f, seed + 3);
            const float stone = smoothstep(2.0f * px, 6.0f * px, inset);

            const std::uint32_t id = hash(r, block, seed + 4);
            const float rough = fbm(u * 6, v * 6, 6, 6, 6, 0.55f, seed + 5);
            // Pocks: small hollows around a seventh of the points of a fine cellular pattern.
            float pock = 0;
            if (stone > 0) {
                const Cellular cells = cellular(u * 40, v * 40, 40, 40, 0.9f, seed + 6);
                pock = cells.id % 7 == 0 ? 1.0f - smoothstep(0.05f, 0.25f, cells.f1) : 0.0f;
            }
            const float grit = gradientNoise(u * 128, v * 128, 128, 128, seed + 7);
            height.at(x, y) = stone * (5.0f + 2.4f * rough - 1.2f * pock) * px + 0.35f * grit * px;

            const Rgb& base = palette[id % 3];
            const float shade = 0.9f + 0.16f * float((id >> 8) & 0xFF) / 255.0f;
            const float stains = fbm(u * 4, v * 4, 4, 4, 4, 0.5f, seed + 8);
            const float flecks = fbm(u * 64, v * 64, 64, 64, 2, 0.5f, seed + 9);
            const Rgb rock =
                base *
                (shade * (1.0f + 0.12f * stains + 0.07f * flecks + 0.06f * rough - 0.12f * pock));
            const Rgb joint = mortar * (1.0f + 0.08f * flecks + 0.06f * grit);
            albedo[std::size_t(y) * std::size_t(size) + std::size_t(x)] = mix(joint, rock, stone);
        }
    }
    return shaded(albedo, lighting(height, 5 * px, 0.25f / px));
}

namespace {

/// Wood seen on a board: along and across are texture lengths along and across the grain. The
/// grain repeats exactly when along grows by one, so a board may run across a seam.
Rgb wood(float along, float across, std::uint32_t seed, float tint) {
    // Growth rings cut lengthwise: stripes along the board that sway slowly.
    const float sway = fbm(along * 2, across * 1.5f, 2, 4096, 4, 0.5f, seed);
    const float ripple = fbm(along * 6, across * 10, 6, 4096, 3, 0.5f, seed + 1);
    const float ring = across * 16 + 1.2f * sway + 0.25f * ripple;
    const float phase = ring - std::floor(ring);
    const float late = smoothstep(0.6f, 0.8f, phase) * (1 - smoothstep(0.88f, 1.0f, phase));
    const float fibres = valueNoise(along * 8, across * 400, 8, 1 << 20, seed + 2) - 0.5f;
    const Rgb early{182, 136, 86}, dark{126, 86, 50};
    return mix(early, dark, 0.6f * late) * (tint * (1.0f + 0.14f * fibres + 0.06f * sway));
}

/// Draws a domed nail head over a board, r being the distance from its centre over its radius.
void nail(float r, Rgb& colour, float& height) {
    if (r < 1) {
        const float dome = std::sqrt(1 - r * r);
        colour = Rgb{70, 68, 66} * (0.8f + 0.4f * dome);
        height += 1.5f * dome;
    }
}

} // namespace

RgbImage makeCrate(int size) {
    checkSize(size);
    const std::uint32_t seed = 0xC4A7Eu;
    const float px = float(size) / 512.0f;
    const float frame = 0.11f;         // width of the frame boards
    const float inner = 1 - 2 * frame; // width of the panel inside the frame
    constexpr int PLANKS = 5;
    const float plank = inner / PLANKS;
    const float brace = 0.1f; // width of the diagonal brace
    const float nailRadius = 0.0085f;
    const float s = float(size);

    Field height(size);
    std::vector<Rgb> albedo(std::size_t(size) * std::size_t(size));
    for (int y = 0; y < size; ++y) {
        const float v = centre(y, size);
        const float ys = fromEdge(v), ay = std::abs(ys);
        for (int x = 0; x < size; ++x) {
            const float u = centre(x, size);
            const float xs = fromEdge(u), ax = std::abs(xs);
            Rgb colour;
            float h = 0, edge = 0; // raised height and distance (pixels) to the board's edges
            const float diagonal = (u + v - 1) / std::sqrt(2.0f);
            if (ax < frame) {
                // The side boards run the full height, through the top and bottom seam.
                colour = wood(v, xs, seed, 0.78f);
                edge = (frame - ax) * s;
                h = 6;
                // Nails at the middle of every plank.
                for (int k = 0; k < PLANKS; ++k) {
                    const float ny = frame + (float(k) + 0.5f) * plank;
                    nail(std::hypot(ax - frame / 2, v - ny) / nailRadius, colour, h);
                }
            } else if (ay < frame) {
                // Top and bottom boards, butting against the side boards.
                colour = wood(u, ys, seed + 10, 0.8f);
                edge = std::min((frame - ay) * s, (ax - frame) * s);
                h = 6;
                for (int k = 0; k < 3; ++k) {
                    const float nx = frame + (float(k) + 0.5f) * inner / 3;
                    nail(std::hypot(u - nx, ay - frame / 2) / nailRadius, colour, h);
                }
            } else if (std::abs(diagonal) < brace / 2) {
                colour = wood((u - v) / std::sqrt(2.0f), diagonal, seed + 20, 0.95f);
                edge = (brace / 2 - std::abs(diagonal)) * s;
                h = 4;
            } else {
                const int k = std::min(PLANKS - 1, int((v - frame) / plank));
                const float local = v - frame - float(k) * plank;
                const float tint = 0.93f + 0.12f * hashUnit(k, 0, seed + 30);
                colour =
                    wood(u + hashUnit(k, 1, seed + 30), local, seed + 40 + std::uint32_t(k), tint);
                edge = std::min(local, plank - local) * s;
                h = 2;
            }
            // Rounded board edges and dark gaps where boards meet.
            const float bevel = smoothstep(0.0f, 4 * px, edge);
            h = (h - 2.5f * (1 - bevel)) * px;
            colour = colour * (0.55f + 0.45f * smoothstep(0.0f, 1.5f * px, edge));
            height.at(x, y) = h;
            albedo[std::size_t(y) * std::size_t(size) + std::size_t(x)] = colour;
        }
    }
    return shaded(albedo, lighting(height, 6 * px, 0.18f / px));
}

RgbImage makeFloorTiles(int size) {
    checkSize(size);
    constexpr int TILES = 4;
    const std::uint32_t seed = 0xF1005u;
    const float px = float(size) / 512.0f;
    const Rgb light{220, 212, 197}, warm{194, 182, 166}, grout{118, 112, 104};
    const float tilePixels = float(size) / TILES;

    Field height(size);
    std::vector<Rgb> albedo(std::size_t(size) * std::size_t(size));
    // The grid is shifted by half a tile: the texture edges run through the middle of tiles, so
    // no seam between copies falls on a joint.
    const auto cell = [](float t, int& index, float& local) {
        const float shifted = t * TILES + 0.5f;
        const float first = std::floor(shifted);
        index = wrap(int(first), TILES);
        local = shifted - first;
    };
    for (int y = 0; y < size; ++y) {
        const float v = centre(y, size);
        int j = 0;
        float lv = 0;
        cell(v, j, lv);
        for (int x = 0; x < size; ++x) {
            const float u = centre(x, size);
            int i = 0;
            float lu = 0;
            cell(u, i, lu);
            const float edge = roundedInset(std::min(lu, 1 - lu) * tilePixels,
                                            std::min(lv, 1 - lv) * tilePixels, 5 * px);
            const float tile = smoothstep(2.0f * px, 5.0f * px, edge);

            // Marble: a few veins running at a slant that differs from tile to tile.
            const std::uint32_t id = hash(i, j, seed);
            const std::uint32_t tileSeed = seed + 1 + (id & 0xFFFF);
            const float slant = 0.4f + 1.2f * float((id >> 16) & 0xFF) / 255.0f;
            const float turbulence = fbm(u * 4, v * 4, 4, 4, 6, 0.6f, tileSeed);
            const float veinPhase = (lu * slant + lv) * 1.4f + 1.3f * turbulence;
            const float band = 1 - std::abs(std::sin(3.14159265f * veinPhase));
            const float vein = 0.6f * std::pow(band, 14.0f) + 0.25f * std::pow(band, 3.0f);
            const float clouds = fbm(u * 8, v * 8, 8, 8, 4, 0.5f, tileSeed + 1);
            const float grit = gradientNoise(u * 96, v * 96, 96, 96, seed + 2);

            const Rgb base = (i + j) % 2 == 0 ? light : warm;
            const float tint = 0.97f + 0.06f * float((id >> 24) & 0xFF) / 255.0f;
            const Rgb marble = mix(base * (tint * (1.0f + 0.06f * clouds + 0.02f * grit)),
                                   Rgb{142, 138, 136}, 0.6f * vein);
            const Rgb joint = grout * (1.0f + 0.08f * grit);
            albedo[std::size_t(y) * std::size_t(size) + std::size_t(x)] = mix(joint, marble, tile);
            height.at(x, y) = (3.0f * tile + 0.15f * grit) * px;
        }
    }
    return shaded(albedo, lighting(height, 4 * px, 0.2f / px));
}

const std::vector<GeneratedTexture>& generatedTextureFiles() {
    static const std::vector<GeneratedTexture> files = {
        {"textures/mount.jpg", [] { return makeBrushedMetal(); }},
        {"textures/wall.jpg", [] { return makeStoneWall(); }},
        {"textures/box.jpg", [] { return makeCrate(); }},
        {"textures/floor.jpg", [] { return makeFloorTiles(); }},
        {"textures/semimount.jpg", [] { return makeLightMetal(); }},
    };
    return files;
}
