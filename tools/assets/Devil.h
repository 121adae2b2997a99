#pragma once
// What the image writers share of DevIL: its one-time start-up, its error stack as text, an
// image name bound for the length of a call, and saving and loading through it.

#include <IL/il.h>

#include <cstring>
#include <string>
#include <utility>

namespace devil {

/// Initialises DevIL on first use (it keeps global state) and lets saves replace files.
void init();

/// Empties DevIL's error stack and returns its entries as text ("" when there were none).
std::string drainErrors();

/// Stores `what`, with DevIL's pending errors appended, in *error (when given); returns false.
bool fail(std::string* error, const std::string& what);

/// A DevIL image name, bound while alive and deleted with it.
struct BoundImage {
    ILuint name = 0;
    BoundImage() {
        ilGenImages(1, &name);
        ilBindImage(name);
    }
    ~BoundImage() { ilDeleteImages(1, &name); }
    BoundImage(const BoundImage&) = delete;
    BoundImage& operator=(const BoundImage&) = delete;
};

/// Saves the bound image to path as `type`; errors DevIL reports after a save that seemed to
/// succeed count as failures too.
bool save(ILenum type, const std::string& path, std::string* error);

/// Loads path into the bound image (DevIL initialised) as 8-bit `format` (named `formatName` in
/// messages), with the top row first when topRowFirst, else in the order DevIL keeps the rows. On
/// success width, height and data describe the pixels, which live as long as the bound image.
bool load(const std::string& path, ILenum format, const char* formatName, bool topRowFirst,
          int& width, int& height, const ILubyte*& data, std::string* error);

/// Loads path, as load does, into a new image of its own (DevIL initialised here) and copies
/// the pixels into `image`: an RgbImage or RgbaImage, sized by its (width, height) constructor
/// for `format`. On failure image is left untouched.
template <class Image>
bool loadImage(const std::string& path, ILenum format, const char* formatName, bool topRowFirst,
               Image& image, std::string* error) {
    init();
    BoundImage bound;
    int width = 0, height = 0;
    const ILubyte* data = nullptr;
    if (!load(path, format, formatName, topRowFirst, width, height, data, error)) {
        return false;
    }
    Image loaded(width, height);
    std::memcpy(loaded.pixels.data(), data, loaded.pixels.size());
    image = std::move(loaded);
    return true;
}

} // namespace devil
