#include "ui/EnergyLevel.h"

#include <algorithm>

namespace gcn {

namespace {

std::unique_ptr<Image> loadPicture(const char* fileName) {
    return std::unique_ptr<Image>(Image::load(fileName));
}

} // namespace

EnergyLevel::EnergyLevel()
    : backImage(loadPicture("images/energyback.png")),
      levelImage(loadPicture("images/energylevel.png")),
      borderImage(loadPicture("images/energyborder.png")) {
    setDimension(Rectangle(0, 0, WIDTH, HEIGHT));
    setOpaque(false);

    back = std::make_unique<Icon>(backImage.get());
    back->setDimension(Rectangle(0, 0, WIDTH, HEIGHT));
    add(back.get(), 0, 0);

    // A plain container clips what it holds: the level picture shows only inside it.
    window = std::make_unique<Container>();
    window->setDimension(Rectangle(0, 0, WIDTH - 10, HEIGHT));
    window->setOpaque(false);
    add(window.get(), 5, 0);

    levelIcon = std::make_unique<Icon>(levelImage.get());
    levelIcon->setDimension(Rectangle(0, 0, WIDTH - 10, HEIGHT));
    window->add(levelIcon.get(), 0, 0);

    border = std::make_unique<Icon>(borderImage.get());
    border->setDimension(Rectangle(0, 0, WIDTH, HEIGHT));
    add(border.get(), 0, 0);
}

EnergyLevel::~EnergyLevel() = default;

void EnergyLevel::setLevel(float value) {
    // Written so that NaN ends up as 0 as well.
    level = value > 1 ? 1.0f : (value >= 0 ? value : 0.0f);
    levelIcon->setX(static_cast<int>(-float(TRAVEL) * (1 - level)));
}

} // namespace gcn
