#pragma once
// The game's image textures, generated from periodic noise: every image tiles seamlessly (its
// left column continues into its right one, its top row into its bottom one) and depends on
// nothing but its size, so the same size always gives the same bytes.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

/// Packed RGB bytes, rows from the top of the picture down, three bytes per pixel.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    RgbImage() = default;
    RgbImage(int w, int h) : width(w), height(h), pixels(std::size_t(w) * std::size_t(h) * 3) {}
    /// Channel c (0 red, 1 green, 2 blue) of pixel (x, y); no bounds check.
    std::uint8_t at(int x, int y, int c) const {
        return pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3 + std::size_t(c)];
    }
};

/// Edge length in pixels of the shipped textures.
constexpr int TEXTURE_SIZE = 512;
/// The smallest edge the generators accept; smaller sizes throw std::invalid_argument.
constexpr int MIN_TEXTURE_SIZE = 16;

/// Brushed steel with fine horizontal streaks, for the mirror holder frames.
RgbImage makeBrushedMetal(int size = TEXTURE_SIZE);
/// Courses of dressed stone blocks (ten rows) in mortar, for the walls, floor and ceiling.
RgbImage makeStoneWall(int size = TEXTURE_SIZE);
/// The face of a wooden crate: a frame of boards around planks with a diagonal brace.
RgbImage makeCrate(int size = TEXTURE_SIZE);
/// Four by four marbled floor tiles in two alternating shades, with grout between.
RgbImage makeFloorTiles(int size = TEXTURE_SIZE);
/// Light satin-finished aluminium, for the half mirror frames.
RgbImage makeLightMetal(int size = TEXTURE_SIZE);

struct GeneratedTexture {
    std::string fileName; ///< path below the game folder
    std::function<RgbImage()> build;
};

/// Every image texture of the game folder, in the order the game loads them.
const std::vector<GeneratedTexture>& generatedTextureFiles();
