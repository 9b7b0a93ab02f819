#pragma once

#include <QPoint>

struct _XDisplay;

namespace velmor::test {

// Mouse input sent through the X server, as a user's would arrive. Kept apart from Qt: the X
// headers define macros that break Qt's.
class XInput final {
  public:
    XInput();
    ~XInput();
    XInput(const XInput&) = delete;
    XInput& operator=(const XInput&) = delete;

    bool connected() const { return display_ != nullptr; }
    // A left click at a point of the screen.
    void click(QPoint global);

  private:
    _XDisplay* display_;
};

// Asks a top-level window whether its program still answers, as a window manager does: an
// _NET_WM_PING round trip, which Qt answers on the window's thread. Each object has a
// connection of its own, so one may be used on a thread of its own.
class XPing final {
  public:
    XPing();
    ~XPing();
    XPing(const XPing&) = delete;
    XPing& operator=(const XPing&) = delete;

    bool connected() const { return display_ != nullptr; }
    // Pings the window `window` (an X window id) and returns the milliseconds until its answer,
    // or -1 when none came within `timeoutMs`.
    int ping(unsigned long window, int timeoutMs);

  private:
    _XDisplay* display_;
    long serial_ = 0;
};

}  // namespace velmor::test
