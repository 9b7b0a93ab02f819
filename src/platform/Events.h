#pragma once

namespace velmor::platform {

// The window system's event queue, as seen from inside a long step.
class Events {
  public:
    virtual ~Events() = default;
    // Lets every pending window event run, then returns.
    virtual void process() = 0;
    // Pauses the calling thread for `milliseconds` without processing events.
    virtual void sleep(int milliseconds) = 0;
    // Lets window events run for `milliseconds`, then returns: a pause that keeps the windows
    // alive.
    virtual void wait(int milliseconds) = 0;
};

}  // namespace velmor::platform
