#pragma once

#include <optional>
#include <string>

namespace velmor::app {

// `velmor --import-settings FILE [--wine-prefix DIR]`: the Windows version's settings, from a
// registry export or a Wine prefix's system.reg, into the settings store, with no window.
// Imports `file`, turning its Windows paths through the drives of `winePrefix` (by default
// $WINEPREFIX, else ~/.wine); the program's exit code.
int runImport(const std::string& file, const std::optional<std::string>& winePrefix);

}  // namespace velmor::app
