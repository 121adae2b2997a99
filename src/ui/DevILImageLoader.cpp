#include "ui/DevILImageLoader.h"

#include <IL/il.h>
#include <IL/ilu.h>
#include <guichan/exception.hpp>
#include <guichan/opengl/openglimage.hpp>

#include <cstring>
#include <iostream>

namespace gcn {

bool DevILImageLoader::decode(const std::string& filename, std::vector<unsigned int>& pixels,
                              int& width, int& height) {
    ilInit();
    iluInit();
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    bool ok = ilLoadImage(filename.c_str()) == IL_TRUE;
    if (ok && (ilGetInteger(IL_IMAGE_FORMAT) != IL_RGBA ||
               ilGetInteger(IL_IMAGE_TYPE) != IL_UNSIGNED_BYTE)) {
        ok = ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE) == IL_TRUE;
    }
    // Guichan wants the top row first, whatever origin DevIL was told to use.
    if (ok && ilGetInteger(IL_IMAGE_ORIGIN) == IL_ORIGIN_LOWER_LEFT) {
        ok = iluFlipImage() == IL_TRUE;
    }
    const int w = ok ? ilGetInteger(IL_IMAGE_WIDTH) : 0;
    const int h = ok ? ilGetInteger(IL_IMAGE_HEIGHT) : 0;
    const ILubyte* data = ok ? ilGetData() : nullptr;
    ok = ok && w > 0 && h > 0 && data != nullptr;
    if (ok) {
        pixels.assign(std::size_t(w) * std::size_t(h), 0);
        std::memcpy(pixels.data(), data, pixels.size() * 4);
        width = w;
        height = h;
    }
    ilDeleteImages(1, &name);
    // Leave no error behind for the next DevIL user.
    while (ilGetError() != IL_NO_ERROR) {
    }
    return ok;
}

Exception DevILImageLoader::loadFailure(const std::string& filename) {
    return Exception("Unable to load image file:" + filename, "gcn::DevILImageLoader::load",
                     __FILE__, __LINE__);
}

Image* DevILImageLoader::load(const std::string& filename, bool convertToDisplayFormat) {
    std::vector<unsigned int> pixels;
    int width = 0, height = 0;
    const bool ok = decode(filename, pixels, width, height);
    std::cout << filename << std::endl;
    if (!ok) {
        throw loadFailure(filename);
    }
    // The OpenGL image copies the pixels.
    return new OpenGLImage(pixels.data(), width, height, convertToDisplayFormat);
}

} // namespace gcn
