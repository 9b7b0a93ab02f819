#pragma once

#include <string>
#include <string_view>

namespace velmor::platform {

// Paths made fit for a command line that is split at blanks and may pass through a shell.
class ShortNames {
  public:
    virtual ~ShortNames() = default;
    // A form of `path` made only of characters that neither a blank split nor a shell reads
    // (the path itself when it already is), naming the same file or folder; empty text when the
    // path does not exist or no such form can be made.
    virtual std::string shortName(std::string_view path) = 0;
    // The path as a Windows program run through Wine names it: "Z:" and the absolute short form
    // with '\\' for '/', made only of ASCII characters that Windows allows in a name, no name
    // ending in '.', and short enough for the narrow file functions; empty text when the path
    // does not exist or no such form can be made.
    virtual std::string windowsPath(std::string_view path) = 0;
};

}  // namespace velmor::platform
