#pragma once

#include <string>
#include <vector>

#include "platform/ProgramInfo.h"

namespace velmor::platform {

class LinuxProgramInfo final : public ProgramInfo {
  public:
    // `arguments` are the program's arguments after its own name.
    explicit LinuxProgramInfo(std::vector<std::string> arguments);
    std::string folder() const override;
    std::string commandLine() const override;

  private:
    std::vector<std::string> arguments_;
};

}  // namespace velmor::platform
