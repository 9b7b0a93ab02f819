#include "support/XSession.h"

#include <cstdlib>
#include <string>

#include "support/Processes.h"

// Last: the X11 headers define macros that clash with ordinary names.
#include <X11/Xlib.h>

namespace velmor::test {

XSession::XSession() {
    if (std::getenv("DISPLAY") == nullptr ||
        !within5s([this] { return (display_ = XOpenDisplay(nullptr)) != nullptr; })) {
        return;
    }
    const Window root = DefaultRootWindow(display_);
    if (const char* manager = std::getenv("VELMOR_TEST_WM"); manager && *manager != '\0') {
        manager_ = spawnProcess({"/bin/sh", "-c", std::string("exec ") + manager});
        within5s([&] {
            XWindowAttributes attributes{};
            XGetWindowAttributes(display_, root, &attributes);
            return (attributes.all_event_masks & SubstructureRedirectMask) != 0;
        });
    }
    XWarpPointer(display_, None, root, 0, 0, 0, 0, DisplayWidth(display_, 0) - 1,
                 DisplayHeight(display_, 0) - 1);
    XSync(display_, False);
}

XSession::~XSession() {
    killProcess(manager_);
    if (display_ != nullptr) {
        XCloseDisplay(display_);
    }
}

}  // namespace velmor::test
