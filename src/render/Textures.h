#pragma once
// The texture table that scene objects index into: indices 0 to 5 are procedural volume
// textures on texture unit 3, indices 6 to 10 the image textures on unit 2 (-1: untextured).

constexpr int TEXTURE_COUNT = 11;
constexpr int FIRST_IMAGE_TEXTURE = 6;
constexpr int VOLUME_TEXTURE_UNIT = 3;
constexpr int IMAGE_TEXTURE_UNIT = 2;

/// OpenGL names of the eleven textures; valid while the display is.
extern unsigned int textureIds[TEXTURE_COUNT];

/// The image files of textures 6 to 10, in table order.
extern const char* const IMAGE_TEXTURE_FILES[TEXTURE_COUNT - FIRST_IMAGE_TEXTURE];

/// Generates all eleven texture names, then fills and uploads textures 0 to 5.
void createVolumeTextures();
/// Makes unit 3 active and binds the 3D texture with clamping and nearest filtering.
void bindVolumeTexture(unsigned int textureName);
/// Loads textures 6 to 10 on unit 2; a file that cannot be read leaves its texture empty.
void loadImageTextures();
/// Sets the filters and repeat wrapping of the 2D texture bound on the active unit from the
/// texture settings.
void applyTextureFilter();
/// Binds each image texture on unit 2 in turn and applies the current filter settings.
void reapplyImageTextureFilters();
