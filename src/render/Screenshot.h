#pragma once
// Saving the window's picture, read back from the frame buffer.

#include <string>

/// Writes the back buffer (the frame just drawn, before it is shown) of a width x height window
/// to an image file whose kind follows from its extension (PNG), replacing it whole: a reader
/// sees the old picture or the new one. False when it cannot be saved.
bool saveScreenshot(const std::string& path, int width, int height);
