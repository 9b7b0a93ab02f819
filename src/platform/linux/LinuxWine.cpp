#include "platform/linux/LinuxWine.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace velmor::platform {
namespace {

// Debian's `wine` says so when only the 64-bit half of Wine is installed.
constexpr std::string_view kNo32BitHint = "wine32 is missing";
constexpr int kVersionTimeoutMs = 10'000;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// $HOME, else the home folder the user database names.
std::string homeFolder() {
    if (std::string home = environment("HOME"); !home.empty()) {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> prefixProblem() {
    const std::string prefix = winePrefix();
    struct stat info {};
    if (::stat(prefix.c_str(), &info) != 0) {
        return std::nullopt;  // Wine makes it on the first start
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        return "The Wine prefix " + prefix +
               " is not a folder of your own, so Wine would not use it.  Set WINEPREFIX to a "
               "folder of yours, or move " +
               prefix + " out of the way so that Wine can make a new one.";
    }
    const std::filesystem::path devices = std::filesystem::path(prefix) / "dosdevices";
    std::error_code error;
    if (!std::filesystem::is_directory(devices, error)) {
        return std::nullopt;  // a prefix not yet set up: Wine sets it up with Z: at /
    }
    // As Wine makes it, a link to "/" itself; else wherever the link's chain leads.
    const std::filesystem::path link = devices / "z:";
    if (std::filesystem::read_symlink(link, error) != "/" &&
        (std::filesystem::canonical(link, error) != "/" || error)) {
        return "In the Wine prefix " + prefix +
               ", drive Z: does not lead to the root folder /, and Velmor hands Windows programs "
               "their files as Z:\\ paths.  Map Z: to / again in winecfg (Drives), or set "
               "WINEPREFIX to another prefix.";
    }
    return std::nullopt;
}

}  // namespace

std::string findWine() {
    const std::string path = environment("PATH");
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(':', start), path.size());
        std::string candidate = end > start ? path.substr(start, end - start) : std::string(".");
        candidate.append("/wine");
        if (isExecutableFile(candidate)) {
            std::error_code error;
            const std::filesystem::path absolute = std::filesystem::absolute(candidate, error);
            return error ? candidate : absolute.native();
        }
        start = end + 1;
    }
    return {};
}

std::string winePrefix() {
    std::string prefix = environment("WINEPREFIX");
    if (prefix.empty()) {
        prefix = homeFolder() + "/.wine";
    }
    return prefix;
}

bool LinuxWine::lacks32Bit(const std::string& wine) {
    if (const auto known = lacks32Bit_.find(wine); known != lacks32Bit_.end()) {
        return known->second;
    }
    // Asked without WINEDEBUG: Debian's `wine` keeps the hint to itself under WINEDEBUG=-all.
    QProcess version;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.remove(QStringLiteral("WINEDEBUG"));
    version.setProcessEnvironment(variables);
    version.setProcessChannelMode(QProcess::MergedChannels);
    version.setStandardInputFile(QProcess::nullDevice());
    version.start(QString::fromLocal8Bit(wine), {QStringLiteral("--version")});
    bool lacks = false;
    if (version.waitForFinished(kVersionTimeoutMs)) {
        lacks = version.readAll().contains(
            QByteArray(kNo32BitHint.data(), static_cast<qsizetype>(kNo32BitHint.size())));
    } else {
        version.kill();
        version.waitForFinished();
    }
    lacks32Bit_.emplace(wine, lacks);
    return lacks;
}

std::optional<std::string> LinuxWine::problem(std::string_view program, bool thirtyTwoBit) {
    wine_ = findWine();
    const std::string& wine = wine_;
    if (wine.empty()) {
        return std::string(program) +
               " is a Windows program, and Velmor runs Windows programs through Wine, which was "
               "not found.  Install the Debian package wine (sudo apt install wine) and try "
               "again.";
    }
    if (thirtyTwoBit && lacks32Bit(wine)) {
        return std::string(program) +
               " is a 32-bit Windows program, and the Wine installed runs only 64-bit programs.  "
               "Add 32-bit support with:  sudo dpkg --add-architecture i386 && sudo apt update "
               "&& sudo apt install wine32";
    }
    return prefixProblem();
}

Command LinuxWine::command(const std::string& exe, std::vector<std::string> arguments) {
    // The Wine the checks found just before, where they ran.
    Command run{wine_.empty() ? findWine() : wine_, {exe}, {}};
    run.arguments.insert(run.arguments.end(), std::make_move_iterator(arguments.begin()),
                         std::make_move_iterator(arguments.end()));
    // Wine's own notes would fill the terminal; a user who asks for them gets them.
    if (std::getenv("WINEDEBUG") == nullptr) {
        run.environment.emplace_back("WINEDEBUG", "-all");
    }
    return run;
}

Command LinuxWine::minimisedCommand(const std::string& exe, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"/min", exe});
    return command("start", std::move(arguments));
}

}  // namespace velmor::platform
