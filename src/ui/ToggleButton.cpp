#include "ui/ToggleButton.h"

#include <guichan/graphics.hpp>

namespace gcn {

namespace {

std::unique_ptr<Image> loadPicture(const std::string& fileName) {
    return std::unique_ptr<Image>(Image::load(fileName));
}

} // namespace

ToggleButton::ImageButton2::ImageButton2(const std::string& name)
    : normalImage(loadPicture("images/" + name + "normal.png")),
      highlightImage(loadPicture("images/" + name + "highlight.png")) {
    setFrameSize(0);
    setSize(normalImage->getWidth(), normalImage->getHeight());
}

ToggleButton::ImageButton2::~ImageButton2() = default;

void ToggleButton::ImageButton2::draw(Graphics* graphics) {
    graphics->drawImage(mHasMouse ? highlightImage.get() : normalImage.get(), 0, 0);
}

void ToggleButton::ImageButton2::mouseEntered(MouseEvent&) {
    mHasMouse = true;
    distributeActionEvent();
}

void ToggleButton::ImageButton2::mouseExited(MouseEvent&) {
    mHasMouse = false;
    distributeActionEvent();
}

void ToggleButton::ImageButton2::mouseReleased(MouseEvent& mouseEvent) {
    if (mouseEvent.getButton() != MouseEvent::LEFT) {
        return;
    }
    if (mMousePressed && mHasMouse) {
        distributeActionEvent();
    }
    mMousePressed = false;
    mouseEvent.consume();
}

ToggleButton::ToggleButton(const std::string& name)
    : ownOnImage(loadPicture("images/" + name + "on.png")),
      ownOffImage(loadPicture("images/" + name + "off.png")), onImage(ownOnImage.get()),
      offImage(ownOffImage.get()) {
    build(name);
}

ToggleButton::ToggleButton(const std::string& name, const Image* on, const Image* off)
    : onImage(on), offImage(off) {
    build(name);
}

// The children go before the container part of this object, which forgets them as they die.
ToggleButton::~ToggleButton() = default;

void ToggleButton::build(const std::string& name) {
    icon = std::make_unique<Icon>(offImage);
    add(icon.get(), 0, 0);
    button = std::make_unique<ImageButton2>(name);
    add(button.get(), 9, 43);
    setDimension(Rectangle(0, 0, icon->getWidth(), icon->getHeight()));
    setOpaque(false);
}

void ToggleButton::setState(bool on) {
    state = on;
    const Image* picture = on ? onImage : offImage;
    icon->setImage(picture);
    icon->setSize(picture->getWidth(), picture->getHeight());
}

} // namespace gcn
