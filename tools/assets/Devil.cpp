#include "assets/Devil.h"

#include <IL/ilu.h>

namespace devil {

void init() {
    static const bool ready = [] {
        ilInit();
        iluInit();
        ilEnable(IL_FILE_OVERWRITE);
        return true;
    }();
    (void)ready;
}

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
    const std::string pending = drainErrors();
    if (error != nullptr) {
        *error = pending.empty() ? what : what + ": " + pending;
    }
    return false;
}

bool save(ILenum type, const std::string& path, std::string* error) {
    if (!ilSave(type, path.c_str())) {
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

bool load(const std::string& path, ILenum format, const char* formatName, bool topRowFirst,
          int& width, int& height, const ILubyte*& data, std::string* error) {
    drainErrors();
    if (!ilLoadImage(path.c_str())) {
        return fail(error, "cannot read " + path);
    }
    if (!ilConvertImage(format, IL_UNSIGNED_BYTE)) {
        return fail(error, "cannot convert " + path + " to " + formatName + " bytes");
    }
    if (topRowFirst && ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT) {
        iluFlipImage();
    }
    width = ilGetInteger(IL_IMAGE_WIDTH);
    height = ilGetInteger(IL_IMAGE_HEIGHT);
    data = ilGetData();
    if (width <= 0 || height <= 0 || data == nullptr) {
        return fail(error, path + " holds no pixels");
    }
    return true;
}

} // namespace devil
