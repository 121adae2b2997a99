#pragma once
// The named keys (all but the printable ones) of the classic GLFW 2 interface, in its order: the
// key's GLFW 2 code is GLFW_KEY_SPECIAL + 1 + its place in this list. Each entry gives the key's
// GLFW 2 name (after "GLFW_KEY_"), the name GLFW 3 gives the same key, and the name a player sees
// (help, bindings).
//
// This header names no GLFW constant itself, so that the window layer can read it beside GLFW 3's
// header, which defines many of the same names as macros with other values.

/// GLFW 2's GLFW_KEY_SPECIAL: its named keys count up from the code after it.
constexpr int GLFW2_NAMED_KEY_BASE = 256;

#define BEAMWORKS_NAMED_KEYS(KEY)                                                                  \
    KEY(ESC, ESCAPE, "ESC")                                                                        \
    KEY(F1, F1, "F1")                                                                              \
    KEY(F2, F2, "F2")                                                                              \
    KEY(F3, F3, "F3")                                                                              \
    KEY(F4, F4, "F4")                                                                              \
    KEY(F5, F5, "F5")                                                                              \
    KEY(F6, F6, "F6")                                                                              \
    KEY(F7, F7, "F7")                                                                              \
    KEY(F8, F8, "F8")                                                                              \
    KEY(F9, F9, "F9")                                                                              \
    KEY(F10, F10, "F10")                                                                           \
    KEY(F11, F11, "F11")                                                                           \
    KEY(F12, F12, "F12")                                                                           \
    KEY(F13, F13, "F13")                                                                           \
    KEY(F14, F14, "F14")                                                                           \
    KEY(F15, F15, "F15")                                                                           \
    KEY(F16, F16, "F16")                                                                           \
    KEY(F17, F17, "F17")                                                                           \
    KEY(F18, F18, "F18")                                                                           \
    KEY(F19, F19, "F19")                                                                           \
    KEY(F20, F20, "F20")                                                                           \
    KEY(F21, F21, "F21")                                                                           \
    KEY(F22, F22, "F22")                                                                           \
    KEY(F23, F23, "F23")                                                                           \
    KEY(F24, F24, "F24")                                                                           \
    KEY(F25, F25, "F25")                                                                           \
    KEY(UP, UP, "Up")                                                                              \
    KEY(DOWN, DOWN, "Down")                                                                        \
    KEY(LEFT, LEFT, "Left")                                                                        \
    KEY(RIGHT, RIGHT, "Right")                                                                     \
    KEY(LSHIFT, LEFT_SHIFT, "Shift")                                                               \
    KEY(RSHIFT, RIGHT_SHIFT, "Right Shift")                                                        \
    KEY(LCTRL, LEFT_CONTROL, "Ctrl")                                                               \
    KEY(RCTRL, RIGHT_CONTROL, "Right Ctrl")                                                        \
    KEY(LALT, LEFT_ALT, "Alt")                                                                     \
    KEY(RALT, RIGHT_ALT, "Right Alt")                                                              \
    KEY(TAB, TAB, "Tab")                                                                           \
    KEY(ENTER, ENTER, "ENTER")                                                                     \
    KEY(BACKSPACE, BACKSPACE, "Backspace")                                                         \
    KEY(INSERT, INSERT, "Insert")                                                                  \
    KEY(DEL, DELETE, "Delete")                                                                     \
    KEY(PAGEUP, PAGE_UP, "Page Up")                                                                \
    KEY(PAGEDOWN, PAGE_DOWN, "Page Down")                                                          \
    KEY(HOME, HOME, "Home")                                                                        \
    KEY(END, END, "End")                                                                           \
    KEY(KP_0, KP_0, "Keypad 0")                                                                    \
    KEY(KP_1, KP_1, "Keypad 1")                                                                    \
    KEY(KP_2, KP_2, "Keypad 2")                                                                    \
    KEY(KP_3, KP_3, "Keypad 3")                                                                    \
    KEY(KP_4, KP_4, "Keypad 4")                                                                    \
    KEY(KP_5, KP_5, "Keypad 5")                                                                    \
    KEY(KP_6, KP_6, "Keypad 6")                                                                    \
    KEY(KP_7, KP_7, "Keypad 7")                                                                    \
    KEY(KP_8, KP_8, "Keypad 8")                                                                    \
    KEY(KP_9, KP_9, "Keypad 9")                                                                    \
    KEY(KP_DIVIDE, KP_DIVIDE, "Keypad /")                                                          \
    KEY(KP_MULTIPLY, KP_MULTIPLY, "Keypad *")                                                      \
    KEY(KP_SUBTRACT, KP_SUBTRACT, "Keypad -")                                                      \
    KEY(KP_ADD, KP_ADD, "Keypad +")                                                                \
    KEY(KP_DECIMAL, KP_DECIMAL, "Keypad .")                                                        \
    KEY(KP_EQUAL, KP_EQUAL, "Keypad =")                                                            \
    KEY(KP_ENTER, KP_ENTER, "Keypad Enter")                                                        \
    KEY(KP_NUM_LOCK, NUM_LOCK, "Num Lock")                                                         \
    KEY(CAPS_LOCK, CAPS_LOCK, "Caps Lock")                                                         \
    KEY(SCROLL_LOCK, SCROLL_LOCK, "Scroll Lock")                                                   \
    KEY(PAUSE, PAUSE, "Pause")                                                                     \
    KEY(LSUPER, LEFT_SUPER, "Super")                                                               \
    KEY(RSUPER, RIGHT_SUPER, "Right Super")                                                        \
    KEY(MENU, MENU, "Menu")
