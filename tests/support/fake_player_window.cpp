// A stand-in for the music player's window: a top-level window of the given title that writes
// every key it receives, by keysym name, as one line to a file.
//
//   fake_player_window OUT TITLE [iconic]
//
// The file's first line is "ready" once the window can be found: when it is mapped or, under
// the window manager named by VELMOR_TEST_WM, once that manager has taken it in. The program
// ends on Tab or after 20 s without events, and answers _NET_WM_PING in event order, like the real
// player.

#include <poll.h>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

int main(int argc, char** argv) {
    Display* display = argc >= 3 ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) {
        return 1;
    }
    std::ofstream out(argv[1], std::ios::trunc);
    const std::string title = argv[2];
    const char* manager = std::getenv("VELMOR_TEST_WM");
    const bool managed = manager != nullptr && *manager != '\0';
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 200, 80, 1, 0, 0xffffff);
    XSelectInput(display, window, KeyPressMask | StructureNotifyMask | PropertyChangeMask);
    // WM_NAME holds the title's bytes as Latin-1: a non-ASCII title is only found through the
    // UTF-8 _NET_WM_NAME.
    XStoreName(display, window, title.c_str());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    // A place of its own: placed under the pointer, a focus-follows-mouse manager would move
    // the focus by itself.
    XSizeHints size{};
    size.flags = USPosition | USSize;  // the window's own: 10, 10, 200 x 80
    XSetWMNormalHints(display, window, &size);
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state =
        argc > 3 && std::strcmp(argv[3], "iconic") == 0 ? IconicState : NormalState;
    XSetWMHints(display, window, &hints);
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    XSetWMProtocols(display, window, &ping, 1);
    XMapWindow(display, window);
    XFlush(display);

    bool ready = false;
    for (pollfd connection{ConnectionNumber(display), POLLIN, 0};;) {
        if (XPending(display) == 0 && poll(&connection, 1, 20000) <= 0) {
            return 0;
        }
        XEvent event{};
        XNextEvent(display, &event);
        const bool shown = managed
                               ? event.type == PropertyNotify && event.xproperty.atom == wmState &&
                                     event.xproperty.state == PropertyNewValue
                               : event.type == MapNotify;
        if (shown && !std::exchange(ready, true)) {
            out << "ready" << std::endl;
        } else if (event.type == KeyPress) {
            const KeySym keysym = XLookupKeysym(&event.xkey, 0);
            const char* name = XKeysymToString(keysym);
            out << (name != nullptr ? name : "NoSymbol") << std::endl;
            if (keysym == XK_Tab) {
                return 0;  // closes without reading on, as the player does
            }
        } else if (event.type == ClientMessage &&
                   static_cast<Atom>(event.xclient.data.l[0]) == ping) {
            event.xclient.window = DefaultRootWindow(display);
            XSendEvent(display, event.xclient.window, False,
                       SubstructureNotifyMask | SubstructureRedirectMask, &event);
            XFlush(display);
        }
    }
}
