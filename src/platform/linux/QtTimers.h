#pragma once

#include "platform/Timers.h"

namespace velmor::platform {

// The timer objects on QTimer, firing on the thread that created them.
class QtTimers final : public Timers {
  public:
    std::unique_ptr<IntervalTimer> createIntervalTimer() override;
    std::unique_ptr<Countdown> createCountdown() override;
};

}  // namespace velmor::platform
