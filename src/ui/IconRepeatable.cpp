#include "ui/IconRepeatable.h"

#include <guichan/graphics.hpp>
#include <guichan/image.hpp>

#include <algorithm>

namespace gcn {

IconRepeatable::IconRepeatable(const Image* image) {
    if (image != nullptr) {
        setImage(image);
        setSize(image->getWidth(), image->getHeight());
    }
}

void IconRepeatable::draw(Graphics* graphics) {
    const Image* image = getImage();
    if (image == nullptr || image->getWidth() <= 0 || image->getHeight() <= 0) {
        return;
    }
    for (int x = 0; x < getWidth(); x += image->getWidth()) {
        for (int y = 0; y < getHeight(); y += image->getHeight()) {
            graphics->drawImage(image, x, y);
        }
    }
}

IconNarrowed::IconNarrowed(const Image* image) {
    setImage(image);
    setSize(image->getWidth(), image->getHeight());
}

void IconNarrowed::draw(Graphics* graphics) {
    const Image* image = getImage();
    const int w = std::min(getWidth(), image->getWidth()), h = image->getHeight();
    const int left = w / 2, right = w - left;
    graphics->drawImage(image, 0, 0, 0, 0, left, h);
    graphics->drawImage(image, image->getWidth() - right, 0, left, 0, right, h);
}

} // namespace gcn
