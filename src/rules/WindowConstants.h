#pragma once
// Constants of the window layer, with the names and values of the classic GLFW 2 interface that
// the game is written against; Window.cpp maps them onto GLFW 3. Printable keys are reported as
// their (upper-case) character; the named keys (Esc, the function keys, arrows, ...) count up from
// GLFW_KEY_SPECIAL in the order of KeyCodes.h.
//
// Never include this header together with <GLFW/glfw3.h>: GLFW 3 defines some of the same names
// as macros with other values.

#include "rules/KeyCodes.h"

constexpr int GLFW_WINDOW = 0x00010001;
constexpr int GLFW_FULLSCREEN = 0x00010002;

constexpr int GLFW_RELEASE = 0;
constexpr int GLFW_PRESS = 1;

constexpr int GLFW_MOUSE_BUTTON_LEFT = 0;
constexpr int GLFW_MOUSE_BUTTON_RIGHT = 1;
constexpr int GLFW_MOUSE_BUTTON_MIDDLE = 2;

constexpr int GLFW_KEY_SPACE = 32;
constexpr int GLFW_KEY_SPECIAL = GLFW2_NAMED_KEY_BASE;

/// GLFW_KEY_ESC, GLFW_KEY_F1 ... GLFW_KEY_MENU: GLFW_KEY_SPECIAL + 1 onwards.
enum GlfwNamedKey : int {
    GLFW_NAMED_KEYS_BEFORE_FIRST = GLFW_KEY_SPECIAL,
#define BEAMWORKS_GLFW2_KEY(v2, v3, name) GLFW_KEY_##v2,
    BEAMWORKS_NAMED_KEYS(BEAMWORKS_GLFW2_KEY)
#undef BEAMWORKS_GLFW2_KEY
        GLFW_NAMED_KEYS_END
};

/// The key callback: a key code as above and GLFW_PRESS or GLFW_RELEASE.
using KeyCallback = void (*)(int key, int action);
/// The mouse-button callback: a button code as above and GLFW_PRESS or GLFW_RELEASE.
using MouseButtonCallback = void (*)(int button, int action);
