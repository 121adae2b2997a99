#include "ui/IconRepeatable.h"

#include <guichan/graphics.hpp>
#include <guichan/image.hpp>

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

} // namespace gcn
