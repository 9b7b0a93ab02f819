#include "platform/linux/LinuxShortNames.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QCryptographicHash>
#include <cerrno>
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
    if (path.empty() || path.find('\0') != std::string_view::npos) {
        return {};
    }
    const std::string text(path);
    struct stat info {};
    if (::stat(text.c_str(), &info) != 0) {
        return {};
    }
    if (isPlainPath(text)) {
        return text;
    }
    const std::string target = absoluteOf(text);
    const std::optional<std::filesystem::path> folder = privateFolder(root_, "short");
    if (target.empty() || !folder || !isPlainPath(folder->native())) {
        return {};
    }
    const std::filesystem::path alias = *folder / aliasName(target, S_ISDIR(info.st_mode));
    std::error_code error;
    if (std::filesystem::read_symlink(alias, error).native() != target &&
        !placeLink(target, alias)) {
        return {};
    }
    return alias.native();
}

}  // namespace velmor::platform
