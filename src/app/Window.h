#pragma once
// The window layer: one OpenGL window with its input, offering the calls of the classic GLFW 2
// interface (one window, automatic event polling in swapBuffers, polled key state, an
// accumulated wheel position) on top of GLFW 3. Key and button codes are those of
// WindowConstants.h; the character '#' reaches the key callback as the key '#'.

#include "rules/WindowConstants.h"

/// Initialises the library; false when it cannot (no display). Does nothing when it is already
/// initialised.
bool windowInit();
/// Opens the window (full screen on the primary monitor) and makes its context current. Bits of 0
/// are left to the library. False when it cannot be opened.
bool windowOpen(int width, int height, int redBits, int greenBits, int blueBits, int alphaBits,
                int depthBits, int stencilBits, bool fullscreen);
/// Closes the window and its OpenGL context, keeping the library (and its clock and its
/// connection to the display) for the next windowOpen; callbacks are forgotten.
void windowClose();
/// Closes the window and shuts the library down; callbacks are forgotten.
void windowTerminate();
void windowSetTitle(const char* title);
/// Whether a window is open and has not been asked to close.
bool windowIsOpen();
/// Shows the frame and polls events, which runs the callbacks.
void windowSwapBuffers();
/// Seconds since windowInit.
double windowTime();
bool windowKeyDown(int key);
bool windowMouseButtonDown(int button);
/// The pointer's position as of the events handled so far (in a button's callback: where the
/// button went down).
void windowGetMousePos(int& x, int& y);
void windowSetMousePos(int x, int y);
/// The accumulated wheel position (one step per notch, forward positive).
int windowMouseWheel();
void windowShowCursor(bool visible);
void windowSetKeyCallback(KeyCallback callback);
void windowSetMouseButtonCallback(MouseButtonCallback callback);
/// The smallest size a window manager may give the window.
void windowSetMinimumSize(int width, int height);
/// The framebuffer size of the open window.
void windowSize(int& width, int& height);
/// Asks for a new size of the open window (the window manager may give another).
void windowSetSize(int width, int height);
