#pragma once

#include <QStringList>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor::launch {

// The game picker's filter: the file kinds the emulator takes, archives included.
inline constexpr std::string_view kGameFilter =
    "*.smc;*.fig;*.swc;*.sfc;*.058;*.078;*.1;*.usa;*.jap;*.zip";

// The game files of one folder, in the order they are listed.
struct GameFolder {
    // Each name exactly as the folder holds it: the launcher joins it to the folder again, so a
    // name that is not valid UTF-8 must come back byte for byte.
    std::vector<std::string> names;
    // The same names as they are shown.
    QStringList shown;
};

// Reads the files of `folder` (not its subfolders) whose names match one of the filter's
// semicolon-separated patterns without regard to case, as the system's file matching does.
// Only regular files count, and links to them; folders, dangling links and devices do not.
// The names are sorted as a person reads them: letter case aside, and the numbers in names by
// their value ("Game 2" before "Game 10"). A folder that is empty, missing or unreadable gives
// an empty list. `stopped` is asked between entries, so that a read nobody waits for any more
// ends early.
GameFolder readGameFolder(const std::string& folder, std::string_view filter = kGameFilter,
                          const std::function<bool()>& stopped = {});

}  // namespace velmor::launch
