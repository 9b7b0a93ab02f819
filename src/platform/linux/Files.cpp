#include "platform/linux/Files.h"

#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace velmor::platform {
namespace {

bool hasNul(std::string_view text) {
    return text.find('\0') != std::string_view::npos;
}

bool isPlainCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           std::string_view("/._-+,=@%").find(c) != std::string_view::npos;
}

// Makes `folder` when missing and checks, on the opened folder itself so that nothing can be
// swapped in between, that it is a real folder of the user; then narrows it to 0700.
bool ensurePrivate(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid()) {
        return false;
    }
    return (info.st_mode & 07777) == 0700 || ::fchmod(fd.get(), 0700) == 0;
}

}  // namespace

bool fileExists(std::string_view path) {
    if (path.empty() || hasNul(path)) {
        return false;
    }
    // Not blocking: a named pipe must not hang the caller until a writer appears.
    const UniqueFd fd(::open(std::string(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    return fd.get() >= 0 && ::fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isPlainPath(std::string_view path) {
    if (path.empty() || path.front() == '-') {
        return false;
    }
    const bool absolute = path.front() == '/';
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        const bool beginsName = i == 0 || path[i - 1] == '/';
        if (c == ':' || c == '~') {
            if (beginsName) {
                return false;
            }
        } else if (!isPlainCharacter(c) || (c == '=' && !absolute)) {
            return false;
        }
    }
    return true;
}

std::filesystem::path privateRoot() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (runtime != nullptr && runtime[0] == '/' && isPlainPath(runtime) &&
        ::lstat(runtime, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
        (info.st_mode & (S_IWGRP | S_IWOTH)) == 0) {
        return std::filesystem::path(runtime) / "velmor";
    }
    return std::filesystem::path("/tmp") / ("velmor-" + std::to_string(::geteuid()));
}

std::optional<std::filesystem::path> privateFolder(std::string_view name) {
    return privateFolder(privateRoot(), name);
}

std::optional<std::filesystem::path> privateFolder(const std::filesystem::path& root,
                                                   std::string_view name) {
    if (name.empty() || hasNul(name) || name.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    std::filesystem::path folder = root / name;
    if (!ensurePrivate(root) || !ensurePrivate(folder)) {
        return std::nullopt;
    }
    return folder;
}

std::optional<std::string> programProblem(const std::string& path, std::string_view program,
                                          std::string_view pathsEntry) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::string(program) + " was not found at " + path + "\n\nCheck the " +
               std::string(pathsEntry) + " on the Paths tab.";
    }
    if (::access(path.c_str(), X_OK) != 0) {
        return std::string(program) + " at " + path + " cannot be run: the file is not executable.";
    }
    return std::nullopt;
}

}  // namespace velmor::platform
