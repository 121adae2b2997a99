// send-close DISPLAY WINDOW: asks a window to close as a window manager's close button does
// (a WM_DELETE_WINDOW client message), for testing that the game ends on a window close.

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: send-close DISPLAY WINDOW\n");
        return 2;
    }
    Display* display = XOpenDisplay(argv[1]);
    if (!display) {
        return 1;
    }
    const Window window = std::strtoul(argv[2], nullptr, 0);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}
