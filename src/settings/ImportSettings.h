#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/WindowsPaths.h"
#include "settings/RegistryExport.h"

namespace velmor::settings {

// What an import took and what it passed over.
struct ImportSummary {
    std::size_t settings = 0;      // values of the 41 settings
    std::size_t pictureLinks = 0;  // values under "Picture Links"
    std::size_t pathsTurned = 0;   // Windows paths stored as the paths they are here
    // Paths kept as they were, for want of a drive here: "Rom Location: \\server\roms".
    std::vector<std::string> pathsKept;
    std::size_t otherValues = 0;  // values of other keys, or no setting of Velmor's
    std::size_t otherTypes = 0;   // values of Velmor's keys that are no text
    std::size_t deletions = 0;    // deletion lines, and values under deleted keys
};

// Stores the texts of Velmor's keys in an export (under HKEY_LOCAL_MACHINE\Software\Velmor, or
// Software\Wow6432Node\Velmor where 64-bit Windows kept a 32-bit program's keys): the 41
// settings under the names of the catalogue, every picture link under its game's name. The paths
// among them (the Paths key's values, the pictures that links name) are stored as `paths` finds
// them here. Everything is stored as one unit; nothing when the store did not take it (its
// problem() says why).
std::optional<ImportSummary> importSettings(const RegistryExport& file,
                                            platform::Registry& registry,
                                            platform::WindowsPaths& paths);

// The summary in a few lines for the user, each ending in a line feed.
std::string summaryText(const ImportSummary& summary);

}  // namespace velmor::settings
