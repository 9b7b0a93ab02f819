#include "support/XInput.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace velmor::test {

XInput::XInput() : display_(XOpenDisplay(nullptr)) {}

XInput::~XInput() {
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

void XInput::click(QPoint global) {
    XTestFakeMotionEvent(display_, -1, global.x(), global.y(), 0);
    XTestFakeButtonEvent(display_, 1, True, 0);
    XTestFakeButtonEvent(display_, 1, False, 0);
    XFlush(display_);
}

}  // namespace velmor::test
