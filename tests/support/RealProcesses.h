#pragma once

#include "platform/Platform.h"
#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/LinuxShortNames.h"
#include "platform/linux/LinuxWine.h"
#include "support/FakePlatform.h"

namespace velmor::test {

// The fake platform but for the services a launch hands its words to: real child processes and
// real short names (under XDG_RUNTIME_DIR as it stands when this is made), and the given events.
class RealProcesses final {
  public:
    explicit RealProcesses(FakePlatform& fake, platform::Events* events = nullptr)
        : platform_{fake.registry,    events != nullptr ? *events : fake.events,
                    fake.timers,      fake.playerWindow,
                    fake.messages,    fake.program,
                    processes_,       shortNames_,
                    fake.screenSaver, fake.fileDialogs,
                    fake.fileTypes,   wine_} {}
    platform::Platform& platform() { return platform_; }

  private:
    platform::LinuxProcesses processes_;
    platform::LinuxShortNames shortNames_;
    platform::LinuxWine wine_;
    platform::Platform platform_;
};

}  // namespace velmor::test
