#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmor::platform {

// What Velmor's command line asks for, read before any window or display exists. Velmor's own
// options begin with `--` (with -h and -V for the first two); every other word, and every word
// after a `--`, is what the Windows version took as its command line: a song, a save state or a
// playlist to play (see LinuxProgramInfo).
struct ProgramArguments {
    enum class Action { Window, Help, Version, Import, Misuse };
    Action action = Action::Window;
    // How many words come before a `--` (all of them when there is none). Only these may hold
    // options, Qt's own included; the `--` itself is dropped.
    std::size_t leading = 0;
    std::vector<std::string> trailing;  // the words after the `--`, taken as they are
    std::string problem;                // for Misuse: what is wrong, in one line
    // For Import: the file of `--import-settings FILE` and the folder of `--wine-prefix DIR`.
    // Each option takes the next word whatever it is, so a file may be named "--odd".
    std::string importFile;
    std::optional<std::string> winePrefix;
};

// Reads the words after the program's name.
ProgramArguments readProgramArguments(const std::vector<std::string>& words);

// `velmor --help`'s text.
const char* programUsage();

}  // namespace velmor::platform
