#pragma once
// Constants of the window layer, with the values and names of the classic GLFW 2 interface that
// the game is written against (the layer maps them onto GLFW 3).

constexpr int GLFW_WINDOW = 0x00010001;
constexpr int GLFW_FULLSCREEN = 0x00010002;
