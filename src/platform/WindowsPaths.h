#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmor::platform {

// Where the paths that the Windows version stored ("C:\Games\ZSNES\zsnesw.exe") are found on
// this system.
class WindowsPaths {
  public:
    virtual ~WindowsPaths() = default;
    // The path on this system of a Windows path with a drive letter; nothing when there is no
    // such drive here, or the path has none (a network path, a relative path).
    virtual std::optional<std::string> localPath(std::string_view windowsPath) = 0;
};

}  // namespace velmor::platform
