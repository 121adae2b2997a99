#pragma once
// Guichan's input, fed by the program: the frame loop and the mouse callback push GLFW mouse
// events, and the GUI drains them in its logic step. Keys never reach the GUI: the keyboard is
// the game's own.

#include "ui/InterfaceScale.h"

#include <guichan/input.hpp>
#include <guichan/keyinput.hpp>
#include <guichan/mouseinput.hpp>

#include <queue>

namespace gcn {

class GLFWInput : public Input {
  public:
    bool isKeyQueueEmpty() override;
    /// The oldest key event; throws gcn::Exception("The queue is empty.") when there is none.
    KeyInput dequeueKeyInput() override;
    bool isMouseQueueEmpty() override;
    /// The oldest mouse event; throws gcn::Exception("The queue is empty.") when there is none.
    MouseInput dequeueMouseInput() override;
    /// Nothing to poll: events arrive through pushMouseInput.
    void _pollInput() override {}

    /// Appends a mouse event (moved, pressed or released; time stamp in whole seconds) at a
    /// window position, which becomes the interface's under the scale.
    void pushMouseInput(const MouseInput& mouseInput);
    /// How the interface lies on the window (unscaled until set).
    void setScale(const InterfaceScale& scale) { scale_ = scale; }

  private:
    InterfaceScale scale_;
    std::queue<KeyInput> keyInputQueue;
    std::queue<MouseInput> mouseInputQueue;
};

} // namespace gcn
