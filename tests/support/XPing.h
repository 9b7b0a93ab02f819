#pragma once

struct _XDisplay;

namespace velmor::test {

// Asks a top-level window whether its program still answers, as a window manager does: an
// _NET_WM_PING round trip, which Qt answers on the window's thread. Each object has a
// connection of its own, so one may be used on a thread of its own. Kept apart from Qt: the X
// headers define macros that break Qt's.
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
