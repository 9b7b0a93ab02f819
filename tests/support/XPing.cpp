#include "support/XPing.h"

#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>

namespace velmor::test {

XPing::XPing() : display_(XOpenDisplay(nullptr)) {
    if (display_ != nullptr) {
        // The answer goes to the root window.
        XSelectInput(display_, DefaultRootWindow(display_), StructureNotifyMask);
    }
}

XPing::~XPing() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

int XPing::ping(unsigned long window, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const Atom protocols = XInternAtom(display_, "WM_PROTOCOLS", False);
    const Atom pingAtom = XInternAtom(display_, "_NET_WM_PING", False);
    const long serial = ++serial_;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(pingAtom);
    event.xclient.data.l[1] = serial;
    event.xclient.data.l[2] = static_cast<long>(window);
    const auto start = Clock::now();
    XSendEvent(display_, window, False, NoEventMask, &event);
    XFlush(display_);
    const auto elapsed = [&] {
        return static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
    };
    while (elapsed() < timeoutMs) {
        while (XPending(display_) > 0) {
            XEvent answer;
            XNextEvent(display_, &answer);
            if (answer.type == ClientMessage && answer.xclient.message_type == protocols &&
                static_cast<Atom>(answer.xclient.data.l[0]) == pingAtom &&
                answer.xclient.data.l[1] == serial) {
                return elapsed();
            }
        }
        pollfd wait{ConnectionNumber(display_), POLLIN, 0};
        ::poll(&wait, 1, 5);
    }
    return -1;
}

}  // namespace velmor::test
