#include "WindowPing.h"

#include <X11/Xlib.h>
#include <poll.h>

namespace velmor::test {

using Clock = std::chrono::steady_clock;

WindowPing::WindowPing(unsigned long window) : display_(XOpenDisplay(nullptr)), window_(window) {
    if (display_ == nullptr) {
        return;
    }
    protocols_ = XInternAtom(display_, "WM_PROTOCOLS", False);
    ping_ = XInternAtom(display_, "_NET_WM_PING", False);
    // The answer goes to the root window, to whoever listens there for its structure's events.
    XSelectInput(display_, DefaultRootWindow(display_),
                 StructureNotifyMask | SubstructureNotifyMask);
}

WindowPing::~WindowPing() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

std::optional<std::chrono::nanoseconds> WindowPing::roundTrip(std::chrono::milliseconds timeout) {
    XEvent ping{};
    ping.xclient.type = ClientMessage;
    ping.xclient.window = window_;
    ping.xclient.message_type = protocols_;
    ping.xclient.format = 32;
    ping.xclient.data.l[0] = static_cast<long>(ping_);
    ping.xclient.data.l[1] = ++serial_;
    ping.xclient.data.l[2] = static_cast<long>(window_);
    const Clock::time_point sent = Clock::now();
    XSendEvent(display_, window_, False, NoEventMask, &ping);
    XFlush(display_);
    const Clock::time_point deadline = sent + timeout;
    for (;;) {
        while (XPending(display_) > 0) {
            XEvent event{};
            XNextEvent(display_, &event);
            if (event.type == ClientMessage && event.xclient.message_type == protocols_ &&
                event.xclient.data.l[0] == static_cast<long>(ping_) &&
                event.xclient.data.l[1] == serial_) {
                return Clock::now() - sent;
            }
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return std::nullopt;
        }
        pollfd connection{ConnectionNumber(display_), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left.count()));
    }
}

}  // namespace velmor::test
