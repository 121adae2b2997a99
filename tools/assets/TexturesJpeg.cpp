#include "assets/TexturesJpeg.h"

#include "assets/Devil.h"

#include <string>

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
    devil::init();
    devil::drainErrors();
    devil::BoundImage bound;
    // DevIL copies the pixels; the cast only satisfies its non-const parameter.
    if (!ilTexImage(ILuint(image.width), ILuint(image.height), 1, 3, IL_RGB, IL_UNSIGNED_BYTE,
                    const_cast<std::uint8_t*>(image.pixels.data()))) {
        return devil::fail(error, "cannot create the image");
    }
    // Our rows run from the top down: say so, so the file is not written upside down.
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    ilSetInteger(IL_JPG_QUALITY, quality);
    const std::string refused = devil::drainErrors();
    if (!refused.empty()) {
        if (error != nullptr) {
            *error = "cannot set JPEG quality " + std::to_string(quality) + ": " + refused;
        }
        return false;
    }
    return devil::save(IL_JPG, path, error);
}

bool loadRgbImage(const std::string& path, RgbImage& image, std::string* error) {
    return devil::loadImage(path, IL_RGB, "RGB", false, image, error);
}
