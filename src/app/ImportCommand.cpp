#include "app/ImportCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <variant>

#include "platform/UniqueFd.h"
#include "platform/linux/SqliteRegistry.h"
#include "platform/linux/StoreLock.h"
#include "platform/linux/WinePrefixPaths.h"
#include "settings/ImportSettings.h"
#include "settings/RegistryExport.h"

namespace velmor::app {
namespace {

// Far more than any export of Velmor's keys; a larger file is something else.
constexpr std::size_t kLargestExport = 64 * 1024 * 1024;

void say(const std::string& line) {
    std::fprintf(stderr, "velmor: %s\n", line.c_str());
}

// The file's bytes, or nothing (said on standard error) when it cannot be read or is too large.
std::optional<std::string> readExport(const std::string& file) {
    platform::UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (!fd || ::fstat(fd.get(), &status) != 0) {
        say(file + ": " + std::strerror(errno));
        return std::nullopt;
    }
    if (S_ISDIR(status.st_mode)) {
        say(file + ": a folder, not a registry export");
        return std::nullopt;
    }
    const auto tooLarge = [&] {
        say(file +
            ": larger than 64 MiB, which no export of Velmor's settings is; nothing was "
            "imported");
        return std::nullopt;
    };
    if (S_ISREG(status.st_mode) && static_cast<std::uintmax_t>(status.st_size) > kLargestExport) {
        return tooLarge();
    }
    std::string bytes;
    bytes.resize(S_ISREG(status.st_mode) ? static_cast<std::size_t>(status.st_size) + 1 : 65536);
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > kLargestExport) {
                return tooLarge();
            }
            bytes.resize(std::min(bytes.size() * 2, kLargestExport + 1));
        }
        const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            say(file + ": " + std::strerror(errno));
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        filled += static_cast<std::size_t>(got);
    }
    if (filled > kLargestExport) {
        return tooLarge();
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace

int runImport(const std::string& file, const std::optional<std::string>& winePrefix) {
    const auto bytes = readExport(file);
    if (!bytes) {
        return 1;
    }
    const auto read = settings::readRegistryExport(*bytes);
    if (const auto* problem = std::get_if<settings::ExportError>(&read)) {
        say(file + " line " + std::to_string(problem->line) + ": " + problem->what +
            "; nothing was imported");
        return 1;
    }

    const std::filesystem::path storeFile = platform::SqliteRegistry::defaultPath();
    platform::SqliteRegistry registry(storeFile);
    if (!registry.usable()) {
        say(registry.problem() + "; nothing was imported");
        return 1;
    }
    const platform::StoreLock lock = platform::StoreLock::forImport(registry.file());
    if (lock.state() == platform::StoreLock::State::TakenByOthers) {
        say("a Velmor window has the settings store " + registry.file().string() +
            " open, and would write its own settings over the imported ones when it closes: "
            "close it and import again; nothing was imported");
        return 1;
    }
    if (lock.state() == platform::StoreLock::State::Failed) {
        say("cannot lock the settings store: " + lock.problem() + "; nothing was imported");
        return 1;
    }

    platform::WinePrefixPaths paths(platform::WinePrefixPaths::choose(winePrefix));
    const auto summary =
        settings::importSettings(std::get<settings::RegistryExport>(read), registry, paths);
    if (!summary) {
        const std::string why = registry.problem();
        say((why.empty() ? "the settings store " + registry.file().string() + " took nothing"
                         : why) +
            "; nothing was imported");
        return 1;
    }
    std::printf("Settings of %s imported into %s, with the drives of the Wine prefix %s.\n%s",
                file.c_str(), registry.file().c_str(), paths.prefix().c_str(),
                settings::summaryText(*summary).c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace velmor::app
