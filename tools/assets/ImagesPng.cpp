#include "assets/ImagesPng.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <cstring>
#include <utility>

namespace {

void initDevil() {
    static const bool ready = [] {
        ilInit();
        iluInit();
        ilEnable(IL_FILE_OVERWRITE);
        return true;
    }();
    (void)ready;
}

/// Empties DevIL's error stack and returns its entries as text.
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
    const std::string devil = drainErrors();
    if (error != nullptr) {
        *error = devil.empty() ? what : what + ": " + devil;
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

bool writePng(const std::string& path, const RgbaImage& image, std::string* error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height) * 4) {
        if (error != nullptr) {
            *error = "picture of " + std::to_string(image.width) + " x " +
                     std::to_string(image.height) + " pixels holds " +
                     std::to_string(image.pixels.size()) + " bytes";
        }
        return false;
    }
    initDevil();
    drainErrors();
    BoundImage bound;
    // DevIL copies the pixels; the cast only satisfies its non-const parameter.
    if (!ilTexImage(ILuint(image.width), ILuint(image.height), 1, 4, IL_RGBA, IL_UNSIGNED_BYTE,
                    const_cast<std::uint8_t*>(image.pixels.data()))) {
        return fail(error, "cannot create the picture");
    }
    // Our rows run from the top down.
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    if (!ilSave(IL_PNG, path.c_str())) {
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

bool loadRgbaImage(const std::string& path, RgbaImage& image, std::string* error) {
    initDevil();
    drainErrors();
    BoundImage bound;
    if (!ilLoadImage(path.c_str())) {
        return fail(error, "cannot read " + path);
    }
    if (!ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE)) {
        return fail(error, "cannot convert " + path + " to RGBA bytes");
    }
    if (ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT) {
        iluFlipImage();
    }
    const int width = ilGetInteger(IL_IMAGE_WIDTH), height = ilGetInteger(IL_IMAGE_HEIGHT);
    const ILubyte* data = ilGetData();
    if (width <= 0 || height <= 0 || data == nullptr) {
        return fail(error, path + " holds no pixels");
    }
    RgbaImage loaded(width, height);
    std::memcpy(loaded.pixels.data(), data, loaded.pixels.size());
    image = std::move(loaded);
    return true;
}
