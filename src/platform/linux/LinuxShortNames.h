#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/ShortNames.h"
#include "platform/linux/Files.h"

namespace velmor::platform {

// Short names as symbolic links: a path that is not plain (see `isPlainPath`) is given an alias
// in the private folder "short", a link to its absolute path under a name of plain characters.
// The alias depends on nothing but that absolute path, so every run and every running copy of
// the program gives a path the same alias, and an emulator that names its saved games after the
// ROM keeps finding them.
class LinuxShortNames final : public ShortNames {
  public:
    explicit LinuxShortNames(std::filesystem::path root = privateRoot());
    std::string shortName(std::string_view path) override;
    std::string windowsPath(std::string_view path) override;

  private:
    // The alias of the existing path `text` in the private folder; empty when none can be made.
    std::string alias(const std::string& text, bool folder);

    std::filesystem::path root_;
};

// The alias of `absolutePath`: up to six letters and digits of its base name in upper case, '~',
// sixteen hex digits of a SHA-256 of the path, and for a file the letters and digits of its
// extension ("SUPERM~3F9A1C0B7D2E4A58.smc").
std::string aliasName(std::string_view absolutePath, bool folder);

// True when the absolute plain path `path` can be handed to a Windows program as it is: no name
// in it is "." or "..", ends in '.', or holds ':', and its Windows form fits the narrow file
// functions (under 260 characters).
bool isWindowsSafe(std::string_view path);

// "Z:" and `absolutePath` with every '/' turned into '\\'.
std::string driveZForm(std::string_view absolutePath);

}  // namespace velmor::platform
