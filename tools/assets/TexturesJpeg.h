#pragma once
// Image files through DevIL: JPEG output of the generated textures, and reading images back the
// way the game does (ilLoadImage, then conversion to RGB bytes).

#include "assets/Textures.h"

#include <string>

/// Highest JPEG quality DevIL accepts; qualities run from 1 up to it.
constexpr int MAX_JPEG_QUALITY = 99;
/// JPEG quality of the shipped textures.
constexpr int TEXTURE_JPEG_QUALITY = 92;

/// Writes image to path as a baseline JPEG of the given quality (1 to MAX_JPEG_QUALITY),
/// replacing any file there. On failure returns false and, when error is given, stores a message
/// naming the cause.
bool writeJpeg(const std::string& path, const RgbImage& image, std::string* error = nullptr,
               int quality = TEXTURE_JPEG_QUALITY);

/// Reads any image DevIL understands and converts it to RGB bytes, rows in the order DevIL keeps
/// them, which is the order the game uploads them in. On failure returns false and, when error is
/// given, stores a message; image is left untouched then.
bool loadRgbImage(const std::string& path, RgbImage& image, std::string* error = nullptr);
