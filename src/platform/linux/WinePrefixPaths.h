#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "platform/WindowsPaths.h"

namespace velmor::platform {

// Windows paths turned into Linux paths through the drives of a Wine prefix: each drive is a
// symbolic link in <prefix>/dosdevices ("c:" usually to ../drive_c, "z:" to /). Drive letters
// and the names along the path match without regard to case, as on Windows: each name is looked
// up in the real folder, the name as written first, else one that differs only in case. Past the
// first name that does not exist, the rest of the path is kept as written.
class WinePrefixPaths final : public WindowsPaths {
  public:
    explicit WinePrefixPaths(std::filesystem::path prefix);

    // The prefix named on the command line when one is, else $WINEPREFIX, else ~/.wine.
    static std::filesystem::path choose(std::optional<std::string_view> given);

    const std::filesystem::path& prefix() const { return prefix_; }
    std::optional<std::string> localPath(std::string_view windowsPath) override;

  private:
    // A folder's entries by their names folded as Windows compares them: of names alike but for
    // case, the least; those others are kept apart, so that a name as written still finds itself.
    struct Listing {
        std::unordered_map<std::string, std::string> byFolded;
        std::unordered_set<std::string> alike;
    };

    const std::optional<std::string>& drive(char letter);
    const Listing& listing(const std::string& folder);
    std::optional<std::string> entry(const std::string& folder, const std::string& name);

    std::filesystem::path prefix_;
    // Each drive's folder, looked up once: outer empty when not yet looked up.
    std::array<std::optional<std::optional<std::string>>, 26> drives_;
    std::unordered_map<std::string, Listing> listings_;
};

}  // namespace velmor::platform
