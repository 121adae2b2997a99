#pragma once
// A two-state switch: an on or an off picture with a small picture button on it. The switch
// neither listens to its button nor flips itself: its owner registers as the button's action
// listener and sets the state.

#include <guichan/image.hpp>
#include <guichan/mouseevent.hpp>
#include <guichan/widgets/button.hpp>
#include <guichan/widgets/container.hpp>
#include <guichan/widgets/icon.hpp>

#include <memory>
#include <string>

namespace gcn {

class ToggleButton : public Container {
  public:
    /// A button drawn from "images/<name>normal.png", or "images/<name>highlight.png" while the
    /// mouse is over it. Besides clicks it reports the mouse entering and leaving as action
    /// events; the listener tells them apart with isPressed() and hasMouse().
    class ImageButton2 : public Button {
      public:
        /// Loads both pictures (throws the image loader's exception when one is missing); the
        /// button takes the normal picture's size and has no frame.
        explicit ImageButton2(const std::string& name);
        ~ImageButton2() override;

        void draw(Graphics* graphics) override;
        void mouseEntered(MouseEvent& mouseEvent) override;
        void mouseExited(MouseEvent& mouseEvent) override;
        /// Left button: a release over the button after a press on it distributes an action
        /// event, during which isPressed() is still true, and then clears the press.
        void mouseReleased(MouseEvent& mouseEvent) override;

        /// True while a left press that started on the button is held with the mouse over it.
        using Button::isPressed;
        bool hasMouse() const { return mHasMouse; }
        const Image* getNormalImage() const { return normalImage.get(); }
        const Image* getHighlightImage() const { return highlightImage.get(); }

      private:
        std::unique_ptr<Image> normalImage;
        std::unique_ptr<Image> highlightImage;
    };

    /// Loads its own pictures "images/<name>on.png" and "images/<name>off.png".
    explicit ToggleButton(const std::string& name);
    /// Shows pictures the caller owns and keeps alive for the switch's lifetime (shared among
    /// several switches).
    ToggleButton(const std::string& name, const Image* onImage, const Image* offImage);
    ~ToggleButton() override;
    ToggleButton(const ToggleButton&) = delete;
    ToggleButton& operator=(const ToggleButton&) = delete;

    /// Shows the on or the off picture, resizing the icon to it; the switch keeps its size.
    void setState(bool on);
    bool getState() const { return state; }

    ImageButton2* getButton() const { return button.get(); }
    Icon* getIcon() const { return icon.get(); }
    const Image* getOnImage() const { return onImage; }
    const Image* getOffImage() const { return offImage; }

    /// Description of the switch's current setting; the owner sets and shows it.
    const std::string& getCaption() const { return caption; }
    void setCaption(const std::string& text) { caption = text; }

  private:
    void build(const std::string& name);

    std::unique_ptr<Image> ownOnImage, ownOffImage; ///< set by the first constructor only
    const Image* onImage = nullptr;
    const Image* offImage = nullptr;
    std::unique_ptr<Icon> icon;
    bool state = false;
    std::unique_ptr<ImageButton2> button;
    std::string caption;
};

} // namespace gcn
