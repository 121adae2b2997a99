#pragma once
// The energy bar: a back, a level picture that slides left in a clipping window as the energy
// drains, and a border over both.

#include <guichan/image.hpp>
#include <guichan/widgets/container.hpp>
#include <guichan/widgets/icon.hpp>

#include <memory>

namespace gcn {

class EnergyLevel : public Container {
  public:
    /// Bar width and height; the window over the level picture is WIDTH - 10 wide at x = 5.
    static constexpr int WIDTH = 260, HEIGHT = 100;
    /// How far the level picture slides out at level 0: 3 columns of it stay visible.
    static constexpr int TRAVEL = 247;

    /// Loads "images/energyback.png", "images/energylevel.png" and "images/energyborder.png"
    /// (throws the image loader's exception when one is missing); the bar starts full.
    EnergyLevel();
    ~EnergyLevel() override;
    EnergyLevel(const EnergyLevel&) = delete;
    EnergyLevel& operator=(const EnergyLevel&) = delete;

    /// Stores value clamped to [0, 1] and moves the level picture to x = -TRAVEL * (1 - level),
    /// truncated toward zero.
    void setLevel(float value);
    float getLevel() const { return level; }
    Icon* getLevelIcon() const { return levelIcon.get(); }

  private:
    float level = 1;
    std::unique_ptr<Image> backImage, levelImage, borderImage;
    std::unique_ptr<Icon> back;
    std::unique_ptr<Container> window;
    std::unique_ptr<Icon> levelIcon;
    std::unique_ptr<Icon> border;
};

} // namespace gcn
