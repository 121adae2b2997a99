// The window layer on GLFW 3. This file must not see WindowConstants.h (GLFW 3 defines some of
// its names as macros), so the GLFW 2 key codes come from the list in KeyCodes.h.

#include "app/Window.h"

#define GLFW_INCLUDE_NONE
#include <GLFW/glfw3.h>

#include "rules/KeyCodes.h"

#include <cmath>

namespace {

constexpr int V2_NAMED_BASE = GLFW2_NAMED_KEY_BASE;

GLFWwindow* window = nullptr;
KeyCallback keyCallback = nullptr;
/// The last key event was a repeat of a held key: the character it brings is one too.
bool lastKeyRepeated = false;
MouseButtonCallback mouseButtonCallback = nullptr;
double wheel = 0;
/// The pointer where the events handled so far left it. A button's callback must see where the
/// button was pressed, not where the pointer is by the time the event is handled (asking the
/// display for the pointer then is late under load).
double pointerX = 0, pointerY = 0;

// GLFW 3's codes of the named keys, in GLFW 2's order.
const int NAMED_KEYS[] = {
#define BEAMWORKS_GLFW3_KEY(v2, v3, name) GLFW_KEY_##v3,
    BEAMWORKS_NAMED_KEYS(BEAMWORKS_GLFW3_KEY)
#undef BEAMWORKS_GLFW3_KEY
};
constexpr int NAMED_KEY_COUNT = static_cast<int>(sizeof NAMED_KEYS / sizeof NAMED_KEYS[0]);

int toV2(int key) {
    for (int i = 0; i < NAMED_KEY_COUNT; ++i) {
        if (NAMED_KEYS[i] == key) {
            return V2_NAMED_BASE + 1 + i;
        }
    }
    // Printable keys: GLFW 3 uses the (upper-case) character, as GLFW 2 did.
    return key >= 32 && key < 256 ? key : -1;
}

int toV3(int key) {
    if (key > V2_NAMED_BASE && key <= V2_NAMED_BASE + NAMED_KEY_COUNT) {
        return NAMED_KEYS[key - V2_NAMED_BASE - 1];
    }
    return key >= 32 && key < 256 ? key : GLFW_KEY_UNKNOWN;
}

void onKey(GLFWwindow*, int key, int, int action, int) {
    lastKeyRepeated = action == GLFW_REPEAT;
    if (action == GLFW_REPEAT || !keyCallback) {
        return; // GLFW 2 had no key repeat unless asked for
    }
    const int v2 = toV2(key);
    if (v2 >= 0) {
        keyCallback(v2, action == GLFW_PRESS ? 1 : 0);
    }
}

// '#' is a character of its own on some layouts and a shifted digit on others: it reaches the
// game as the key '#', pressed and released at once; once per press, as every key (the window
// library sends the character again for every repeat of the held key).
void onChar(GLFWwindow*, unsigned int codepoint) {
    if (codepoint == '#' && keyCallback && !lastKeyRepeated) {
        keyCallback('#', 1);
        keyCallback('#', 0);
    }
}

void onMouseButton(GLFWwindow*, int button, int action, int) {
    if (mouseButtonCallback && button <= GLFW_MOUSE_BUTTON_MIDDLE) {
        mouseButtonCallback(button, action == GLFW_PRESS ? 1 : 0);
    }
}

void onScroll(GLFWwindow*, double, double y) {
    wheel += y;
}

void onCursor(GLFWwindow*, double x, double y) {
    pointerX = x;
    pointerY = y;
}

} // namespace

bool windowInit() {
    return glfwInit() == GLFW_TRUE;
}

bool windowOpen(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                int depthBits, int stencilBits, bool fullscreen) {
    glfwDefaultWindowHints();
    const auto bits = [](int hint, int value) {
        glfwWindowHint(hint, value > 0 ? value : GLFW_DONT_CARE);
    };
    bits(GLFW_RED_BITS, redBits);
    bits(GLFW_GREEN_BITS, greenBits);
    bits(GLFW_BLUE_BITS, blueBits);
    bits(GLFW_ALPHA_BITS, alphaBits);
    bits(GLFW_DEPTH_BITS, depthBits);
    bits(GLFW_STENCIL_BITS, stencilBits);
    GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    window = glfwCreateWindow(width, height, "GLFW Window", monitor, nullptr);
    if (!window) {
        return false;
    }
    glfwMakeContextCurrent(window);
    glfwSwapInterval(0);
    glfwSetKeyCallback(window, onKey);
    glfwSetCharCallback(window, onChar);
    glfwSetMouseButtonCallback(window, onMouseButton);
    glfwSetScrollCallback(window, onScroll);
    glfwSetCursorPosCallback(window, onCursor);
    glfwGetCursorPos(window, &pointerX, &pointerY);
    // GLFW 2 behaviour: a press between two polls is still seen.
    glfwSetInputMode(window, GLFW_STICKY_MOUSE_BUTTONS, GLFW_TRUE);
    return true;
}

void windowClose() {
    if (window) {
        glfwDestroyWindow(window);
        window = nullptr;
    }
    keyCallback = nullptr;
    mouseButtonCallback = nullptr;
}

void windowTerminate() {
    glfwTerminate();
    window = nullptr;
    keyCallback = nullptr;
    mouseButtonCallback = nullptr;
}

void windowSetTitle(const char* title) {
    if (window) {
        glfwSetWindowTitle(window, title);
    }
}

bool windowIsOpen() {
    return window && !glfwWindowShouldClose(window);
}

void windowSwapBuffers() {
    if (window) {
        glfwSwapBuffers(window);
        glfwPollEvents();
    }
}

double windowTime() {
    return glfwGetTime();
}

bool windowKeyDown(int key) {
    const int v3 = toV3(key);
    return window && v3 != GLFW_KEY_UNKNOWN && glfwGetKey(window, v3) == GLFW_PRESS;
}

bool windowMouseButtonDown(int button) {
    return window && glfwGetMouseButton(window, button) == GLFW_PRESS;
}

void windowGetMousePos(int& x, int& y) {
    x = static_cast<int>(std::floor(pointerX));
    y = static_cast<int>(std::floor(pointerY));
}

void windowSetMousePos(int x, int y) {
    if (window) {
        glfwSetCursorPos(window, x, y);
        pointerX = x;
        pointerY = y;
    }
}

int windowMouseWheel() {
    return static_cast<int>(std::lround(wheel));
}

void windowShowCursor(bool visible) {
    if (window) {
        glfwSetInputMode(window, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
    }
}

void windowSetKeyCallback(KeyCallback callback) {
    keyCallback = callback;
}
void windowSetMouseButtonCallback(MouseButtonCallback callback) {
    mouseButtonCallback = callback;
}

void windowSize(int& width, int& height) {
    width = height = 0;
    if (window) {
        glfwGetFramebufferSize(window, &width, &height);
    }
}

void windowSetSize(int width, int height) {
    if (window) {
        glfwSetWindowSize(window, width, height);
    }
}

void windowSetMinimumSize(int width, int height) {
    if (window) {
        glfwSetWindowSizeLimits(window, width, height, GLFW_DONT_CARE, GLFW_DONT_CARE);
    }
}
