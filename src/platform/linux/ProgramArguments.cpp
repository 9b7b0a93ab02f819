#include "platform/linux/ProgramArguments.h"

#include <string_view>

namespace velmor::platform {

ProgramArguments readProgramArguments(const std::vector<std::string>& words) {
    using Action = ProgramArguments::Action;
    ProgramArguments result;
    bool help = false;
    bool version = false;
    std::optional<std::string> importFile;
    std::size_t others = 0;  // words that are neither an option nor an option's value
    const auto misuse = [&](std::string problem) {
        if (result.problem.empty()) {
            result.problem = std::move(problem);
        }
    };
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--") {
            result.trailing.assign(words.begin() + static_cast<std::ptrdiff_t>(i) + 1, words.end());
            break;
        }
        ++result.leading;
        if (word == "--help" || word == "-h") {
            help = true;
        } else if (word == "--version" || word == "-V") {
            version = true;
        } else if (word == "--import-settings" || word == "--wine-prefix") {
            const bool file = word == "--import-settings";
            std::optional<std::string>& value = file ? importFile : result.winePrefix;
            if (value || i + 1 == words.size()) {
                misuse(word + (value  ? " is given twice"
                               : file ? " needs a file"
                                      : " needs a folder"));
                continue;
            }
            value = words[++i];
            ++result.leading;
        } else if (std::string_view(word).starts_with("--")) {
            misuse("unknown option " + word);
        } else {
            ++others;
        }
    }
    if (result.winePrefix && !importFile) {
        misuse("--wine-prefix goes with --import-settings");
    }
    if (importFile && (others > 0 || !result.trailing.empty())) {
        misuse("--import-settings takes no song or other word besides --wine-prefix");
    }
    result.importFile = importFile.value_or(std::string());
    result.action = !result.problem.empty() ? Action::Misuse
                    : help                  ? Action::Help
                    : version               ? Action::Version
                    : importFile            ? Action::Import
                                            : Action::Window;
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
