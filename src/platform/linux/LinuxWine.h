#pragma once

#include <map>
#include <string>

#include "platform/Wine.h"

namespace velmor::platform {

// Wine as Debian ships it: `wine` found on PATH, the prefix in $WINEPREFIX or ~/.wine. The
// checks look at the files each time (a user may install Wine while Velmor runs) but ask
// `wine --version` once a run for each Wine found.
class LinuxWine final : public Wine {
  public:
    std::optional<std::string> problem(std::string_view program, bool thirtyTwoBit) override;
    Command command(const std::string& exe, std::vector<std::string> arguments) override;
    Command minimisedCommand(const std::string& exe, std::vector<std::string> arguments) override;

  private:
    // Whether the Wine at `wine` says it cannot run 32-bit programs.
    bool lacks32Bit(const std::string& wine);

    std::map<std::string, bool> lacks32Bit_;
    std::string wine_;  // the Wine the last check found
};

// The first executable file named `wine` in the folders of $PATH; empty when there is none.
std::string findWine();

// The prefix Wine uses: $WINEPREFIX when set, else .wine in the home folder ($HOME, else the
// one the user database names).
std::string winePrefix();

}  // namespace velmor::platform
