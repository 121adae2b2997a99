#include "render/Screenshot.h"

#include "render/GL.h"

#include <IL/il.h>

#include <cstdio>
#include <vector>

bool saveScreenshot(const std::string& path, int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    // OpenGL rows run bottom to top, which is DevIL's lower-left origin.
    const bool made = ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1, 3,
                                 IL_RGB, IL_UNSIGNED_BYTE, pixels.data());
    // Written beside the target and then renamed over it, so that a reader never finds half a
    // picture. The temporary name keeps the extension, which picks the file kind.
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string temporary =
        hasExtension ? path.substr(0, dot) + ".part" + path.substr(dot) : path + ".part";
    ilEnable(IL_FILE_OVERWRITE);
    const bool saved = made && ilSaveImage(temporary.c_str());
    ilDeleteImages(1, &image);
    if (!saved) {
        std::remove(temporary.c_str());
        return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}
