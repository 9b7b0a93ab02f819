#pragma once

#include <string>

namespace velmor::platform {

// What the program knows of itself from the system.
class ProgramInfo {
  public:
    virtual ~ProgramInfo() = default;
    // The folder of the running executable.
    virtual std::string folder() const = 0;
    // The program's arguments joined by single blanks.
    virtual std::string commandLine() const = 0;
};

}  // namespace velmor::platform
