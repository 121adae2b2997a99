#include "render/Textures.h"

#include "render/GL.h"
#include "render/VolumeTextures.h"
#include "rules/Settings.h"

#include <IL/il.h>

#include <vector>

unsigned int textureIds[TEXTURE_COUNT];

const char* const IMAGE_TEXTURE_FILES[TEXTURE_COUNT - FIRST_IMAGE_TEXTURE] = {
    "textures/mount.jpg", "textures/wall.jpg", "textures/box.jpg", "textures/floor.jpg",
    "textures/semimount.jpg"};

void bindVolumeTexture(unsigned int textureName) {
    glActiveTexture(GL_TEXTURE0 + VOLUME_TEXTURE_UNIT);
    glBindTexture(GL_TEXTURE_3D, textureName);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
}

void createVolumeTextures() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glGenTextures(TEXTURE_COUNT, textureIds);
    std::vector<std::uint8_t> texels;
    for (int i = 0; i < VOLUME_TEXTURE_COUNT; ++i) {
        fillVolumeTexture(i, texels);
        const int n = volumeTextureSize(i);
        bindVolumeTexture(textureIds[i]);
        glTexImage3D(GL_TEXTURE_3D, 0, GL_RGBA, n, n, n, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texels.data());
    }
}

void applyTextureFilter() {
    const GameSettings& s = gameSettings;
    GLint mag = s.linearFiltering ? GL_LINEAR : GL_NEAREST;
    GLint min = mag;
    if (s.mipmapping) {
        if (s.linearFiltering) {
            min = s.mipmapLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_NEAREST;
        } else {
            min = s.mipmapLinear ? GL_NEAREST_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
        }
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void loadImageTextures() {
    glActiveTexture(GL_TEXTURE0 + IMAGE_TEXTURE_UNIT);
    for (int i = FIRST_IMAGE_TEXTURE; i < TEXTURE_COUNT; ++i) {
        ILuint image = 0;
        ilGenImages(1, &image);
        ilBindImage(image);
        // The file may decode to any layout: convert to packed RGB bytes before the upload.
        if (ilLoadImage(IMAGE_TEXTURE_FILES[i - FIRST_IMAGE_TEXTURE]) &&
            ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
            ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
            glBindTexture(GL_TEXTURE_2D, textureIds[i]);
            applyTextureFilter();
            glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
            gluBuild2DMipmaps(GL_TEXTURE_2D, 3, ilGetInteger(IL_IMAGE_WIDTH),
                              ilGetInteger(IL_IMAGE_HEIGHT), GL_RGB, GL_UNSIGNED_BYTE, ilGetData());
        }
        ilDeleteImages(1, &image);
    }
}

void reapplyImageTextureFilters() {
    glActiveTexture(GL_TEXTURE0 + IMAGE_TEXTURE_UNIT);
    for (int i = FIRST_IMAGE_TEXTURE; i < TEXTURE_COUNT; ++i) {
        glBindTexture(GL_TEXTURE_2D, textureIds[i]);
        applyTextureFilter();
    }
}
