#pragma once

#include "platform/Events.h"

namespace velmor::platform {

class QtEvents final : public Events {
  public:
    void process() override;
    void sleep(int milliseconds) override;
    void wait(int milliseconds) override;
};

}  // namespace velmor::platform
