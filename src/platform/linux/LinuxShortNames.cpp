#include "platform/linux/LinuxShortNames.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <cerrno>
#include <optional>
#include <random>
#include <system_error>
#include <utility>

namespace velmor::platform {
namespace {

constexpr std::size_t kPrefixLength = 6;
constexpr std::size_t kExtensionLength = 16;
constexpr int kHashBytes = 8;

bool isAsciiAlnum(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

std::string absoluteOf(std::string_view path) {
    std::error_code error;
    std::string absolute = std::filesystem::absolute(std::filesystem::path(path), error).native();
    if (error) {
        return {};
    }
    while (absolute.size() > 1 && absolute.back() == '/') {
        absolute.pop_back();
    }
    return absolute;
}

// Puts a link to `target` at `alias` in one step, so that a running emulator never sees the
// alias missing and two copies of the program making it at once do not collide.
bool placeLink(const std::string& target, const std::filesystem::path& alias) {
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::filesystem::path temporary =
            alias.parent_path() / ("." + alias.filename().native() + "." +
                                   std::to_string(::getpid()) + "-" + std::to_string(random()));
        if (::symlink(target.c_str(), temporary.c_str()) != 0) {
            if (errno == EEXIST) {
                continue;
            }
            return false;
        }
        if (::rename(temporary.c_str(), alias.c_str()) != 0) {
            ::unlink(temporary.c_str());
            return false;
        }
        return true;
    }
    return false;
}

// Whether `path` names something that exists, and whether that is a folder.
std::optional<bool> existingFolder(std::string_view path) {
    struct stat info {};
    if (path.empty() || path.find('\0') != std::string_view::npos ||
        ::stat(std::string(path).c_str(), &info) != 0) {
        return std::nullopt;
    }
    return S_ISDIR(info.st_mode);
}

}  // namespace

std::string aliasName(std::string_view absolutePath, bool folder) {
    const std::size_t slash = absolutePath.rfind('/');
    std::string_view stem =
        slash == std::string_view::npos ? absolutePath : absolutePath.substr(slash + 1);
    std::string_view extension;
    if (const std::size_t dot = stem.rfind('.');
        !folder && dot != std::string_view::npos && dot > 0) {
        extension = stem.substr(dot + 1);
        stem = stem.substr(0, dot);
    }
    std::string name;
    for (const char c : stem) {
        if (name.size() == kPrefixLength) {
            break;
        }
        if (isAsciiAlnum(c)) {
            name += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        }
    }
    if (name.empty()) {
        name = "_";  // a name must not begin with '~'
    }
    const QByteArray hash = QCryptographicHash::hash(
        QByteArray(absolutePath.data(), static_cast<qsizetype>(absolutePath.size())),
        QCryptographicHash::Sha256);
    name += '~';
    name += hash.left(kHashBytes).toHex().toUpper().toStdString();
    std::string suffix;
    for (const char c : extension) {
        if (suffix.size() < kExtensionLength && isAsciiAlnum(c)) {
            suffix += c;
        }
    }
    if (!suffix.empty()) {
        name += '.' + suffix;
    }
    return name;
}

LinuxShortNames::LinuxShortNames(std::filesystem::path root) : root_(std::move(root)) {}

std::string LinuxShortNames::shortName(std::string_view path) {
    const std::optional<bool> folder = existingFolder(path);
    if (!folder) {
        return {};
    }
    const std::string text(path);
    return isPlainPath(text) ? text : alias(text, *folder);
}

std::string LinuxShortNames::windowsPath(std::string_view path) {
    const std::optional<bool> folder = existingFolder(path);
    if (!folder) {
        return {};
    }
    const std::string text(path);
    const std::string absolute = absoluteOf(text);
    if (!absolute.empty() && isPlainPath(absolute) && isWindowsSafe(absolute)) {
        return driveZForm(absolute);
    }
    const std::string aliased = alias(text, *folder);
    return aliased.empty() || !isWindowsSafe(aliased) ? std::string() : driveZForm(aliased);
}

std::string LinuxShortNames::alias(const std::string& text, bool folder) {
    const std::string target = absoluteOf(text);
    const std::optional<std::filesystem::path> aliases = privateFolder(root_, "short");
    if (target.empty() || !aliases || !isPlainPath(aliases->native())) {
        return {};
    }
    const std::filesystem::path link = *aliases / aliasName(target, folder);
    std::error_code error;
    if (std::filesystem::read_symlink(link, error).native() != target && !placeLink(target, link)) {
        return {};
    }
    return link.native();
}

bool isWindowsSafe(std::string_view path) {
    // "Z:" and the path; the narrow functions take at most 259 characters and the end.
    constexpr std::size_t kLongestPath = 259 - 2;
    if (path.size() > kLongestPath || path.find(':') != std::string_view::npos) {
        return false;
    }
    std::size_t start = 0;
    while (start < path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view name = path.substr(start, end - start);
        // Windows drops a trailing dot, so "a." would name "a"; "." and ".." are steps.
        if (!name.empty() && name.back() == '.') {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::string driveZForm(std::string_view absolutePath) {
    std::string form = "Z:";
    for (const char c : absolutePath) {
        form += c == '/' ? '\\' : c;
    }
    return form;
}

}  // namespace velmor::platform
