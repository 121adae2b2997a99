#include "assets/ImagesPng.h"

#include "assets/Devil.h"

#include <string>

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
    devil::init();
    devil::drainErrors();
    devil::BoundImage bound;
    // DevIL copies the pixels; the cast only satisfies its non-const parameter.
    if (!ilTexImage(ILuint(image.width), ILuint(image.height), 1, 4, IL_RGBA, IL_UNSIGNED_BYTE,
                    const_cast<std::uint8_t*>(image.pixels.data()))) {
        return devil::fail(error, "cannot create the picture");
    }
    // Our rows run from the top down.
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    return devil::save(IL_PNG, path, error);
}

bool loadRgbaImage(const std::string& path, RgbaImage& image, std::string* error) {
    return devil::loadImage(path, IL_RGBA, "RGBA", true, image, error);
}
