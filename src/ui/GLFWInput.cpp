#include "ui/GLFWInput.h"

#include <guichan/exception.hpp>

namespace gcn {

bool GLFWInput::isKeyQueueEmpty() {
    return keyInputQueue.empty();
}

KeyInput GLFWInput::dequeueKeyInput() {
    if (keyInputQueue.empty()) {
        throw Exception("The queue is empty.", "gcn::GLFWInput::dequeueKeyInput", __FILE__,
                        __LINE__);
    }
    const KeyInput keyInput = keyInputQueue.front();
    keyInputQueue.pop();
    return keyInput;
}

bool GLFWInput::isMouseQueueEmpty() {
    return mouseInputQueue.empty();
}

MouseInput GLFWInput::dequeueMouseInput() {
    if (mouseInputQueue.empty()) {
        throw Exception("The queue is empty.", "gcn::GLFWInput::dequeueMouseInput", __FILE__,
                        __LINE__);
    }
    const MouseInput mouseInput = mouseInputQueue.front();
    mouseInputQueue.pop();
    return mouseInput;
}

void GLFWInput::pushMouseInput(const MouseInput& mouseInput) {
    MouseInput at = mouseInput;
    at.setX(scale_.toInterfaceX(mouseInput.getX()));
    at.setY(scale_.toInterfaceY(mouseInput.getY()));
    mouseInputQueue.push(at);
}

} // namespace gcn
