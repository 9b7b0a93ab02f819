#pragma once

#include <string>
#include <string_view>

#include "platform/ShortNames.h"
#include "platform/Wine.h"

namespace velmor::platform {

// What a program file is, told by its first bytes rather than by its name or execute bit.
enum class ProgramKind {
    Native,     // an ELF program or a script beginning with "#!": started as it is
    Windows32,  // a Windows program for a 32-bit processor: through Wine
    Windows64,  // a Windows program for a 64-bit processor: through Wine
    Dos,        // "MZ" without a Windows header after it
    Other,      // anything else, a file that cannot be read included
};

ProgramKind programKind(const std::string& path);

inline bool isWindows(ProgramKind kind) {
    return kind == ProgramKind::Windows32 || kind == ProgramKind::Windows64;
}

// How the program set at a path on the paths tab is run, or why it cannot be.
struct ProgramToRun {
    std::string problem;   // said to the user when not empty: then nothing is run
    bool windows = false;  // through Wine
    std::string exe;       // a Windows program's real path (not an alias); else the path as set
};

// Looks at the program at `path`: ELF programs and scripts must be executable and are run as they
// are; Windows programs go through Wine once its checks pass; DOS programs are refused. `program`
// names it ("ZSNES") and `pathsEntry` is its entry on the paths tab.
ProgramToRun programToRun(const std::string& path, std::string_view program,
                          std::string_view pathsEntry, Wine& wine);

// The Windows path by which Wine is to start the Windows program at `realExe`: its folder's
// Windows form (the real folder where Windows can name it, else a link to it) and its name, so
// that it finds its own files beside itself. Empty when no such path can be made.
std::string wineProgramPath(ShortNames& shortNames, const std::string& realExe);

// The command that runs the Windows program `program` through Wine with the words of
// `switches` and, when it can be named, `file` in Windows form; `minimised` for a program that is
// not waited for and must not take the focus (the player).
Command wineCommand(Wine& wine, ShortNames& shortNames, const ProgramToRun& program,
                    std::string_view switches, const std::string& file, bool minimised = false);

}  // namespace velmor::platform
