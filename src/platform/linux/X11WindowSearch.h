#pragma once

// Internal to velmor_x11: included only by its X11 source files, never by Qt code, since the
// X11 headers define macros (KeyPress, None, Bool...) that break Qt's headers.

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include <X11/Xlib.h>

namespace velmor::platform::x11 {

struct XFreeDeleter {
    void operator()(void* data) const {
        if (data != nullptr) {
            XFree(data);
        }
    }
};

struct Property {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    std::unique_ptr<unsigned char, XFreeDeleter> data;

    std::optional<long> item32(unsigned long index) const;
};

// The property if it is set and of `type` (AnyPropertyType: of any).
std::optional<Property> readProperty(Display* display, Window window, Atom name, Atom type,
                                     long maxLongs);

struct Tree {
    Window parent = None;
    std::vector<Window> children;  // bottom of the stack first
};
std::optional<Tree> queryTree(Display* display, Window window);

// Finds the player's window by its title among the top-level windows.
class WindowSearch final {
  public:
    WindowSearch(Display* display, Atom wmState, Atom netWmName, Atom utf8String)
        : m_display(display),
          m_wmState(wmState),
          m_netWmName(netWmName),
          m_utf8String(utf8String) {}

    // The uppermost window named `title` without regard to case or, where none is, the
    // uppermost whose name begins with it; None if there is neither.
    Window find(std::string_view title);

  private:
    std::optional<Window> managedClient(Window window, int depth);
    std::vector<Window> topLevelWindows();

    Display* m_display;
    Atom m_wmState;
    Atom m_netWmName;
    Atom m_utf8String;
};

}  // namespace velmor::platform::x11
