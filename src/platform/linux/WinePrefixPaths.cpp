#include "platform/linux/WinePrefixPaths.h"

#include <dirent.h>

#include <QString>
#include <algorithm>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/WindowsNames.h"
#include "platform/linux/LinuxWine.h"

namespace velmor::platform {
namespace {

namespace fs = std::filesystem;

// A file name as Windows compares file names: without regard to case, in any script.
std::string foldedFileName(std::string_view name) {
    if (std::ranges::all_of(name, [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return foldedName(name);
    }
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))
        .toCaseFolded()
        .toStdString();
}

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

std::string joined(const std::string& root, const std::vector<std::string>& names) {
    std::string path = root;
    for (const std::string& name : names) {
        if (!path.ends_with('/')) {
            path += '/';
        }
        path += name;
    }
    return path;
}

}  // namespace

WinePrefixPaths::WinePrefixPaths(fs::path prefix) : prefix_(std::move(prefix)) {
    std::error_code error;
    if (auto absolute = fs::absolute(prefix_, error); !error) {
        prefix_ = std::move(absolute);
    }
}

fs::path WinePrefixPaths::choose(std::optional<std::string_view> given) {
    if (given && !given->empty()) {
        return fs::path(*given);
    }
    return winePrefix();
}

const std::optional<std::string>& WinePrefixPaths::drive(char letter) {
    const char lower = foldedLetter(letter);
    auto& known = drives_[static_cast<std::size_t>(lower - 'a')];
    if (!known) {
        known.emplace();
        for (const char name : {lower, static_cast<char>(lower - 'a' + 'A')}) {
            std::error_code error;
            const fs::path folder =
                fs::canonical(prefix_ / "dosdevices" / (std::string(1, name) + ':'), error);
            if (!error && fs::is_directory(folder, error)) {
                known->emplace(folder.string());
                break;
            }
        }
    }
    return *known;
}

const WinePrefixPaths::Listing& WinePrefixPaths::listing(const std::string& folder) {
    if (const auto known = listings_.find(folder); known != listings_.end()) {
        return known->second;
    }
    Listing entries;
    if (const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir); dir) {
        while (const dirent* entry = ::readdir(dir.get())) {
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") {
                continue;
            }
            auto [place, added] = entries.byFolded.try_emplace(foldedFileName(name), name);
            if (!added) {
                std::string other(name);
                if (other < place->second) {
                    std::swap(other, place->second);
                }
                entries.alike.insert(std::move(other));
            }
        }
    }
    return listings_.emplace(folder, std::move(entries)).first->second;
}

std::optional<std::string> WinePrefixPaths::entry(const std::string& folder,
                                                  const std::string& name) {
    const Listing& entries = listing(folder);
    const auto found = entries.byFolded.find(foldedFileName(name));
    if (found == entries.byFolded.end()) {
        return std::nullopt;
    }
    return found->second == name || !entries.alike.contains(name) ? found->second : name;
}

std::optional<std::string> WinePrefixPaths::localPath(std::string_view windowsPath) {
    std::string_view path = windowsPath;
    // Win32's long form, \\?\C:\..., names the same file as C:\...
    if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) {
        path.remove_prefix(4);
    }
    const char letter = path.empty() ? '\0' : foldedLetter(path[0]);
    if (path.size() < 3 || letter < 'a' || letter > 'z' || path[1] != ':' ||
        !isSeparator(path[2])) {
        return std::nullopt;
    }
    const std::optional<std::string>& root = drive(letter);
    if (!root) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    bool found = true;
    std::size_t start = 3;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !isSeparator(path[end])) {
            ++end;
        }
        const std::string name(path.substr(start, end - start));
        start = end + 1;
        if (name.empty() || name == ".") {
            continue;
        }
        if (name == "..") {
            if (!names.empty()) {
                names.pop_back();
            }
            continue;
        }
        if (found) {
            if (auto real = entry(joined(*root, names), name)) {
                names.push_back(std::move(*real));
                continue;
            }
            found = false;  // a folder not made yet: the rest as written
        }
        names.push_back(name);
    }
    std::string local = joined(*root, names);
    if (!names.empty() && isSeparator(path.back())) {
        local += '/';
    }
    return local;
}

}  // namespace velmor::platform
