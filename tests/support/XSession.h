#pragma once

#include <sys/types.h>

struct _XDisplay;

namespace velmor::test {

// The X server of DISPLAY for a suite of tests, under the window manager VELMOR_TEST_WM names,
// if any. One connection is held throughout: the X server resets whenever its last client
// leaves, and refuses connections meanwhile. Kept apart from Qt: the X headers define macros that
// break Qt's.
class XSession final {
  public:
    // Connects (for up to five seconds), starts the manager and waits until it has taken over
    // the root window, and puts the pointer in a corner, where it cannot move the focus.
    XSession();
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // Null without an X server.
    _XDisplay* display() const { return display_; }

  private:
    _XDisplay* display_ = nullptr;
    pid_t manager_ = 0;
};

}  // namespace velmor::test
