#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Processes.h"

namespace velmor::platform {

// Programs started with QProcess, their standard channels shared with the program's own.
class LinuxProcesses final : public Processes {
  public:
    bool executeAndWait(std::string_view commandLine) override;
    bool startShellAndWait(std::string_view commandLine, int handedOn) override;
    bool startDetached(std::string_view commandLine) override;
    bool executeAndWait(const Command& command) override;
    bool startAndWait(const Command& command, int handedOn) override;
    bool startDetached(const Command& command) override;
};

// The words of a command line: the text split at runs of blanks, empty words dropped.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

}  // namespace velmor::platform
