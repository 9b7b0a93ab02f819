#pragma once

#include <atomic>
#include <functional>

namespace velmor::platform {

// The window system's event queue, as seen from inside a long step.
class Events {
  public:
    virtual ~Events() = default;
    // Lets every pending window event run, then returns.
    virtual void process() = 0;
    // Lets window events run for `milliseconds`, then returns: a pause that keeps the windows
    // alive.
    virtual void wait(int milliseconds) = 0;
    // Runs `work` on a thread of its own and returns when it has ended, letting window events
    // run meanwhile, so that a long step never freezes the windows. When the program begins to
    // quit first, `stop` is set for `work` to end early, the work is still waited for, and the
    // result is false.
    virtual bool runAside(const std::function<void(const std::atomic<bool>& stop)>& work) = 0;
};

}  // namespace velmor::platform
