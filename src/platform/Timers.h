#pragma once

#include <functional>
#include <memory>

namespace velmor::platform {

// A one-shot interval timer: once enabled it fires a single time after the interval, then stays
// quiet until it is enabled again. Disabling cancels a pending expiry.
class IntervalTimer {
  public:
    virtual ~IntervalTimer() = default;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
    // Called on the window's thread when the interval has elapsed.
    std::function<void()> onTimer;
};

// A countdown: once enabled with a duration it ticks about once a second with the milliseconds
// left, ends with a tick of 0 and then disables itself.
class Countdown {
  public:
    virtual ~Countdown() = default;
    virtual void setDuration(int milliseconds) = 0;
    virtual int duration() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
    // Called on the window's thread with the milliseconds left.
    std::function<void(int timeRemaining)> onTick;
};

class Timers {
  public:
    virtual ~Timers() = default;
    virtual std::unique_ptr<IntervalTimer> createIntervalTimer() = 0;
    virtual std::unique_ptr<Countdown> createCountdown() = 0;
};

}  // namespace velmor::platform
