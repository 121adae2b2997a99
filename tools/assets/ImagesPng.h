#pragma once
// PNG files of the interface pictures through DevIL: 8-bit RGBA out, and reading any picture back
// as 8-bit RGBA rows from the top down.

#include "assets/ImagesCanvas.h"

#include <string>

/// Writes image to path as an 8-bit RGBA PNG, replacing any file there. On failure returns false
/// and, when error is given, stores a message naming the cause.
bool writePng(const std::string& path, const RgbaImage& image, std::string* error = nullptr);

/// Reads any picture DevIL understands as 8-bit RGBA, top row first. On failure returns false
/// and, when error is given, stores a message; image is left untouched then.
bool loadRgbaImage(const std::string& path, RgbaImage& image, std::string* error = nullptr);
