#pragma once

namespace velmor::app {

// `velmor --import-settings FILE [--wine-prefix DIR]`: the Windows version's settings, from a
// registry export or a Wine prefix's system.reg, into the settings store, with no window.
// Runs the import (the command line holds --import-settings); the program's exit code.
int runImport(int argc, const char* const* argv);

}  // namespace velmor::app
