#include "assets/TexturesJpeg.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <cstring>
#include <utility>

namespace {

/// DevIL keeps global state: initialise it on first use, and let saves replace files.
void initDevil() {
    static const bool ready = [] {
        ilInit();
        iluInit();
        ilEnable(IL_FILE_OVERWRITE);
        return true;
    }();
    (void)ready;
}

/// Empties DevIL's error stack and returns its entries, newest first, as text.
std::string drainErrors() {
    std::string text;
    for (ILenum code = ilGetError(); code != IL_NO_ERROR; code = ilGetError()) {
        const char* message = iluErrorString(code);
        text += text.empty() ? "" : "; ";
        text += message != nullptr ? message : "DevIL error " + std::to_string(code);
    }
    return text;
}

bool fail(std::string* error, const std::string& what) {
    if (error != nullptr) {
        const std::string devil = drainErrors();
        *error = devil.empty() ? what : what + ": " + devil;
    } else {
        drainErrors();
    }
    return false;
}

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

} // namespace

bool writeJpeg(const std::string& path, const RgbImage& image, std::string* error, int quality) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height) * 3) {
        if (error != nullptr) {
            *error = "image of " + std::to_string(image.width) + " x " +
                     std::to_string(image.height) + " pixels holds " +
                     std::to_string(image.pixels.size()) + " bytes";
        }
        return false;
    }
    if (quality < 1 || quality > MAX_JPEG_QUALITY) {
        if (error != nullptr) {
            *error = "JPEG quality " + std::to_string(quality) + " is outside 1 to " +
                     std::to_string(MAX_JPEG_QUALITY);
        }
        return false;
    }
    initDevil();
    drainErrors();
    BoundImage bound;
    // DevIL copies the pixels; the cast only satisfies its non-const parameter.
    if (!ilTexImage(ILuint(image.width), ILuint(image.height), 1, 3, IL_RGB, IL_UNSIGNED_BYTE,
                    const_cast<std::uint8_t*>(image.pixels.data()))) {
        return fail(error, "cannot create the image");
    }
    // Our rows run from the top down: say so, so the file is not written upside down.
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    ilSetInteger(IL_JPG_QUALITY, quality);
    const std::string refused = drainErrors();
    if (!refused.empty()) {
        if (error != nullptr) {
            *error = "cannot set JPEG quality " + std::to_string(quality) + ": " + refused;
        }
        return false;
    }
    if (!ilSave(IL_JPG, path.c_str())) {
        return fail(error, "cannot write " + path);
    }
    const std::string late = drainErrors();
    if (!late.empty()) {
        if (error != nullptr) {
            *error = "writing " + path + ": " + late;
        }
        return false;
    }
    return true;
}

bool loadRgbImage(const std::string& path, RgbImage& image, std::string* error) {
    initDevil();
    drainErrors();
    BoundImage bound;
    if (!ilLoadImage(path.c_str())) {
        return fail(error, "cannot read " + path);
    }
    if (!ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
        return fail(error, "cannot convert " + path + " to RGB bytes");
    }
    const int width = ilGetInteger(IL_IMAGE_WIDTH), height = ilGetInteger(IL_IMAGE_HEIGHT);
    const ILubyte* data = ilGetData();
    if (width <= 0 || height <= 0 || data == nullptr) {
        return fail(error, path + " holds no pixels");
    }
    RgbImage loaded(width, height);
    std::memcpy(loaded.pixels.data(), data, loaded.pixels.size());
    image = std::move(loaded);
    return true;
}
