#pragma once
// Constants of the window layer, with the names and values of the classic GLFW 2 interface that
// the game is written against; Window.cpp maps them onto GLFW 3. Printable keys are reported as
// their (upper-case) character; special keys count up from GLFW_KEY_SPECIAL.
//
// Never include this header together with <GLFW/glfw3.h>: GLFW 3 defines some of the same names
// as macros with other values.

constexpr int GLFW_WINDOW = 0x00010001;
constexpr int GLFW_FULLSCREEN = 0x00010002;

constexpr int GLFW_RELEASE = 0;
constexpr int GLFW_PRESS = 1;

constexpr int GLFW_MOUSE_BUTTON_LEFT = 0;
constexpr int GLFW_MOUSE_BUTTON_RIGHT = 1;
constexpr int GLFW_MOUSE_BUTTON_MIDDLE = 2;

constexpr int GLFW_KEY_SPACE = 32;
constexpr int GLFW_KEY_SPECIAL = 256;
constexpr int GLFW_KEY_ESC = GLFW_KEY_SPECIAL + 1;
/// F1 to F25 are consecutive.
constexpr int GLFW_KEY_F1 = GLFW_KEY_SPECIAL + 2;
constexpr int GLFW_KEY_F2 = GLFW_KEY_F1 + 1;
constexpr int GLFW_KEY_F3 = GLFW_KEY_F1 + 2;
constexpr int GLFW_KEY_F4 = GLFW_KEY_F1 + 3;
constexpr int GLFW_KEY_F5 = GLFW_KEY_F1 + 4;
constexpr int GLFW_KEY_F8 = GLFW_KEY_F1 + 7;
constexpr int GLFW_KEY_F9 = GLFW_KEY_F1 + 8;
constexpr int GLFW_KEY_F10 = GLFW_KEY_F1 + 9;
constexpr int GLFW_KEY_F11 = GLFW_KEY_F1 + 10;
constexpr int GLFW_KEY_F18 = GLFW_KEY_F1 + 17;
constexpr int GLFW_KEY_F19 = GLFW_KEY_F1 + 18;
constexpr int GLFW_KEY_F25 = GLFW_KEY_F1 + 24;
constexpr int GLFW_KEY_UP = GLFW_KEY_SPECIAL + 27;
constexpr int GLFW_KEY_DOWN = GLFW_KEY_SPECIAL + 28;
constexpr int GLFW_KEY_LEFT = GLFW_KEY_SPECIAL + 29;
constexpr int GLFW_KEY_RIGHT = GLFW_KEY_SPECIAL + 30;
constexpr int GLFW_KEY_LSHIFT = GLFW_KEY_SPECIAL + 31;
constexpr int GLFW_KEY_RSHIFT = GLFW_KEY_SPECIAL + 32;
constexpr int GLFW_KEY_LCTRL = GLFW_KEY_SPECIAL + 33;
constexpr int GLFW_KEY_RCTRL = GLFW_KEY_SPECIAL + 34;
constexpr int GLFW_KEY_LALT = GLFW_KEY_SPECIAL + 35;
constexpr int GLFW_KEY_RALT = GLFW_KEY_SPECIAL + 36;
constexpr int GLFW_KEY_TAB = GLFW_KEY_SPECIAL + 37;
constexpr int GLFW_KEY_ENTER = GLFW_KEY_SPECIAL + 38;
constexpr int GLFW_KEY_BACKSPACE = GLFW_KEY_SPECIAL + 39;
constexpr int GLFW_KEY_INSERT = GLFW_KEY_SPECIAL + 40;
constexpr int GLFW_KEY_DEL = GLFW_KEY_SPECIAL + 41;
constexpr int GLFW_KEY_PAGEUP = GLFW_KEY_SPECIAL + 42;
constexpr int GLFW_KEY_PAGEDOWN = GLFW_KEY_SPECIAL + 43;
constexpr int GLFW_KEY_HOME = GLFW_KEY_SPECIAL + 44;
constexpr int GLFW_KEY_END = GLFW_KEY_SPECIAL + 45;
constexpr int GLFW_KEY_KP_ENTER = GLFW_KEY_SPECIAL + 62;

/// The key callback: a key code as above and GLFW_PRESS or GLFW_RELEASE.
using KeyCallback = void (*)(int key, int action);
/// The mouse-button callback: a button code as above and GLFW_PRESS or GLFW_RELEASE.
using MouseButtonCallback = void (*)(int button, int action);
