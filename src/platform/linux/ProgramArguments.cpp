#include "platform/linux/ProgramArguments.h"

#include <string_view>

namespace velmor::platform {

ProgramArguments readProgramArguments(const std::vector<std::string>& words) {
    ProgramArguments result;
    bool prefixAlone = false;
    for (const std::string& word : words) {
        if (word == "--") {
            result.trailing.assign(words.begin() + static_cast<std::ptrdiff_t>(result.leading) + 1,
                                   words.end());
            break;
        }
        ++result.leading;
        if (result.action == ProgramArguments::Action::Misuse) {
            continue;
        }
        if (word == "--help" || word == "-h") {
            result.action = ProgramArguments::Action::Help;
        } else if ((word == "--version" || word == "-V") &&
                   result.action != ProgramArguments::Action::Help) {
            result.action = ProgramArguments::Action::Version;
        } else if (word == "--import-settings" &&
                   result.action == ProgramArguments::Action::Window) {
            result.action = ProgramArguments::Action::Import;
        } else if (word == "--wine-prefix") {
            prefixAlone = true;
        } else if (std::string_view(word).starts_with("--") &&
                   result.action != ProgramArguments::Action::Import) {
            // Past --import-settings every word is the import's to judge: it names files.
            result.action = ProgramArguments::Action::Misuse;
            result.problem = "unknown option " + word;
        }
    }
    if (prefixAlone && result.action == ProgramArguments::Action::Window) {
        result.action = ProgramArguments::Action::Misuse;
        result.problem = "--wine-prefix goes with --import-settings";
    }
    return result;
}

const char* programUsage() {
    return "usage: velmor [FILE]\n"
           "       velmor --import-settings FILE [--wine-prefix DIR]\n"
           "       velmor --help | --version\n"
           "\n"
           "Starts Velmor's window, a front-end for the ZSNES emulator and SPC music players.\n"
           "FILE, a song (.spc), a save state (.zst) or a playlist (.spl), is played at once;\n"
           "give it after -- when its name begins with a dash.\n"
           "\n"
           "  --import-settings FILE  import the Windows version's settings from a registry\n"
           "                          export or a Wine prefix's system.reg, with no window\n"
           "  --wine-prefix DIR       the Wine prefix whose drives turn the imported Windows\n"
           "                          paths into Linux ones (default $WINEPREFIX, else ~/.wine)\n"
           "  -h, --help              show this text and exit\n"
           "  -V, --version           show Velmor's version and exit\n";
}

}  // namespace velmor::platform
