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

}  // namespace velmor::test
