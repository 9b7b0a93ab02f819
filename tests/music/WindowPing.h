#pragma once

#include <chrono>
#include <optional>

struct _XDisplay;

namespace velmor::test {

// Asks a top-level window through the X server whether its program still answers
// (_NET_WM_PING), as a window manager does: Qt answers on the window's thread, so an answer
// means that the window's events are being handled. Its own X connection, used by one thread at a
// time. Kept apart from Qt: the X headers define macros that break Qt's.
class WindowPing final {
  public:
    explicit WindowPing(unsigned long window);
    ~WindowPing();
    WindowPing(const WindowPing&) = delete;
    WindowPing& operator=(const WindowPing&) = delete;

    bool connected() const { return display_ != nullptr; }
    // Sends a ping and waits for its answer, at most `timeout`: how long the answer took, or
    // nothing when none came.
    std::optional<std::chrono::nanoseconds> roundTrip(std::chrono::milliseconds timeout);

  private:
    _XDisplay* display_;
    unsigned long window_;
    unsigned long protocols_ = 0;
    unsigned long ping_ = 0;
    long serial_ = 0;
};

}  // namespace velmor::test
