#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Processes.h"

namespace velmor::platform {

// Running Windows programs through Wine.
class Wine {
  public:
    virtual ~Wine() = default;
    // What keeps a Windows program from being run through Wine now, said for the user with what
    // to do about it; nothing when it can be run. `program` names it in the text ("ZSNES at
    // /games/zsnesw.exe"), `thirtyTwoBit` is set for a program of a 32-bit processor.
    virtual std::optional<std::string> problem(std::string_view program, bool thirtyTwoBit) = 0;
    // The command that runs the Windows program at `exe` (a Windows path) with `arguments`.
    virtual Command command(const std::string& exe, std::vector<std::string> arguments) = 0;
    // The same, started minimised and without taking the focus, for a program that is not
    // waited for.
    virtual Command minimisedCommand(const std::string& exe,
                                     std::vector<std::string> arguments) = 0;
};

}  // namespace velmor::platform
