#include "assets/TexturesNoise.h"

#include <algorithm>
#include <cmath>

namespace texnoise {

namespace {

/// Quintic fade: zero first and second derivative at 0 and 1, so the noise has no creases.
float fade(float t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

constexpr int GRADIENT_COUNT = 16;

/// Unit gradients at evenly spread angles, offset so none lies on an axis. Plain arrays: this is
/// the innermost loop of every texture, and it should stay quick in unoptimised builds too.
struct Gradients {
    float x[GRADIENT_COUNT];
    float y[GRADIENT_COUNT];
    Gradients() {
        for (int i = 0; i < GRADIENT_COUNT; ++i) {
            const double a = (i + 0.5) * 2 * 3.14159265358979323846 / GRADIENT_COUNT;
            x[i] = float(std::cos(a));
            y[i] = float(std::sin(a));
        }
    }
};
const Gradients GRADIENTS;

/// Dot product of the gradient at lattice point (x, y) with the offset (ox, oy) from it.
float corner(int x, int y, float ox, float oy, std::uint32_t seed) {
    const std::uint32_t k = hash(x, y, seed) % GRADIENT_COUNT;
    return GRADIENTS.x[k] * ox + GRADIENTS.y[k] * oy;
}

} // namespace

std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    std::uint32_t h = std::uint32_t(x) * 0x85EBCA77u + seed * 0x9E3779B9u;
    h ^= h >> 15;
    h += std::uint32_t(y) * 0xC2B2AE3Du;
    h ^= h >> 13;
    h *= 0x27D4EB2Fu;
    h ^= h >> 16;
    h *= 0x165667B1u;
    h ^= h >> 15;
    return h;
}

float hashUnit(std::int32_t x, std::int32_t y, std::uint32_t seed) {
    return float(hash(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float valueNoise(float x, float y, int periodX, int periodY, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int x0 = wrap(int(fx), periodX), y0 = wrap(int(fy), periodY);
    const int x1 = wrap(x0 + 1, periodX), y1 = wrap(y0 + 1, periodY);
    const float tx = fade(x - fx), ty = fade(y - fy);
    const float top = lerp(hashUnit(x0, y0, seed), hashUnit(x1, y0, seed), tx);
    const float bottom = lerp(hashUnit(x0, y1, seed), hashUnit(x1, y1, seed), tx);
    return lerp(top, bottom, ty);
}

float gradientNoise(float x, float y, int periodX, int periodY, std::uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int x0 = wrap(int(fx), periodX), y0 = wrap(int(fy), periodY);
    const int x1 = wrap(x0 + 1, periodX), y1 = wrap(y0 + 1, periodY);
    const float dx = x - fx, dy = y - fy;
    const float tx = fade(dx), ty = fade(dy);
    const float top = lerp(corner(x0, y0, dx, dy, seed), corner(x1, y0, dx - 1, dy, seed), tx);
    const float bottom =
        lerp(corner(x0, y1, dx, dy - 1, seed), corner(x1, y1, dx - 1, dy - 1, seed), tx);
    // Unit gradients reach at most sqrt(1/2) in the middle of a cell: scale to about [-1, 1].
    return lerp(top, bottom, ty) * 1.41421356f;
}

float fbm(float x, float y, int periodX, int periodY, int octaves, float gain, std::uint32_t seed) {
    float sum = 0, amplitude = 1, total = 0;
    int scale = 1;
    for (int k = 0; k < octaves; ++k) {
        sum += amplitude * gradientNoise(x * float(scale), y * float(scale), periodX * scale,
                                         periodY * scale, seed + 0x51ED27u * std::uint32_t(k));
        total += amplitude;
        amplitude *= gain;
        scale *= 2;
    }
    return total > 0 ? sum / total * 1.6f : 0.0f;
}

Cellular cellular(float x, float y, int periodX, int periodY, float jitter, std::uint32_t seed) {
    const int cx = int(std::floor(x)), cy = int(std::floor(y));
    const float spread = std::clamp(jitter, 0.0f, 1.0f);
    const float reach = 0.5f * spread;
    Cellular c;
    float best = 1e30f, second = 1e30f;
    // With jitter up to 1 both nearest points lie within two cells of (x, y). The own cell and
    // its neighbours come first, so the outer ring can mostly be skipped: a cell is looked at
    // only if the box its point may lie in comes closer than the second nearest point so far.
    for (int ring = 0; ring <= 2; ++ring) {
        for (int j = -ring; j <= ring; ++j) {
            for (int i = -ring; i <= ring; ++i) {
                if (std::max(std::abs(i), std::abs(j)) != ring) {
                    continue;
                }
                const float centreX = float(cx + i) + 0.5f, centreY = float(cy + j) + 0.5f;
                const float gapX = std::max(0.0f, std::abs(centreX - x) - reach);
                const float gapY = std::max(0.0f, std::abs(centreY - y) - reach);
                if (gapX * gapX + gapY * gapY >= second) {
                    continue;
                }
                const int gx = wrap(cx + i, periodX), gy = wrap(cy + j, periodY);
                const std::uint32_t h = hash(gx, gy, seed);
                const float px = centreX + spread * (float(h & 0xFFFF) / 65535.0f - 0.5f);
                const float py = centreY + spread * (float(h >> 16) / 65535.0f - 0.5f);
                const float d2 = (px - x) * (px - x) + (py - y) * (py - y);
                if (d2 < best) {
                    second = best;
                    best = d2;
                    c.id = hash(gx, gy, seed ^ 0xA5A5A5A5u);
                    c.nearestX = px;
                    c.nearestY = py;
                } else if (d2 < second) {
                    second = d2;
                }
            }
        }
    }
    c.f1 = std::sqrt(best);
    c.f2 = std::sqrt(second);
    return c;
}

float smoothstep(float edge0, float edge1, float x) {
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

} // namespace texnoise
