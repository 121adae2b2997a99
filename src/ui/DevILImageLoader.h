#pragma once
// Guichan's image loader on DevIL: gcn::Image::load turns a picture file into an OpenGL image.

#include <guichan/exception.hpp>
#include <guichan/image.hpp>
#include <guichan/imageloader.hpp>

#include <string>
#include <vector>

namespace gcn {

class DevILImageLoader : public ImageLoader {
  public:
    /// Loads the picture as a gcn::OpenGLImage, which the caller owns, and lists its file name on
    /// standard output. Pictures that do not decode to 8-bit RGBA are converted to it. Throws
    /// gcn::Exception("Unable to load image file:" + filename) when DevIL cannot read the file.
    /// With convertToDisplayFormat the pixels go into an OpenGL texture at once, which needs a
    /// current context; without it the image keeps its pixels (getPixel works) until
    /// convertToDisplayFormat() is called.
    Image* load(const std::string& filename, bool convertToDisplayFormat = true) override;

    /// Decodes the picture to 8-bit RGBA, top row first, one 32-bit value per pixel holding the
    /// bytes R, G, B, A in memory order; needs no OpenGL. False when DevIL cannot read it.
    static bool decode(const std::string& filename, std::vector<unsigned int>& pixels, int& width,
                       int& height);

    /// The exception that load throws for filename.
    static Exception loadFailure(const std::string& filename);
};

} // namespace gcn
