#pragma once

#include <string_view>
#include <vector>

namespace velmor::platform {

// The top-level window of another program, found by its title, and keystrokes sent to it.
class PlayerWindow {
  public:
    virtual ~PlayerWindow() = default;
    // Finds a top-level window titled `title` (letter case ignored; an exact title first, else
    // one that begins with it) and makes it the active window. False when none can be activated.
    virtual bool activate(std::string_view title) = 0;
    // Sends keys named as X keysyms ("Return", "Tab") to the activated window, one after the
    // other, each waiting until it has been processed. False when a key could not be sent.
    virtual bool sendKeys(const std::vector<std::string_view>& keys) = 0;
    // Whether a top-level window titled `title` is there, found as `activate` finds it; nothing
    // is activated.
    virtual bool exists(std::string_view title) = 0;
    // Minimises the window last activated, without waiting for it.
    virtual void minimise() = 0;
};

}  // namespace velmor::platform
