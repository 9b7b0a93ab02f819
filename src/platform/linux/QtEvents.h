#pragma once

#include "platform/Events.h"

namespace velmor::platform {

class QtEvents final : public Events {
  public:
    void process() override;
    void wait(int milliseconds) override;
    bool runAside(const std::function<void(const std::atomic<bool>& stop)>& work) override;
};

}  // namespace velmor::platform
