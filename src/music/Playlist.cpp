#include "music/Playlist.h"

#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <utility>

namespace velmor::music {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Far beyond any list of songs (a million long paths); a larger file is taken for something else
// rather than read into memory whole.
constexpr off_t kLargestPlaylist = off_t{256} << 20;

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

using platform::UniqueFd;

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file the save really replaces: a link is followed, so that the link stays a link.
fs::path saveTarget(const std::string& path) {
    fs::path target(path);
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(target, error))) {
        const fs::path resolved = fs::weakly_canonical(target, error);
        if (!error) {
            return resolved;
        }
    }
    return target;
}

// A new, empty file beside `target`, made with the permissions the user's umask allows for a
// new file; the descriptor is invalid when none can be made.
UniqueFd temporaryBeside(const fs::path& target, fs::path& made) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    static std::mt19937_64 random(
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        static_cast<std::uint64_t>(::getpid()));
    for (int attempt = 0; attempt < 64; ++attempt) {
        char name[40];
        std::snprintf(name, sizeof name, ".velmor-spl-%016llx",
                      static_cast<unsigned long long>(random()));
        made = folder / name;
        const int fd =
            ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return UniqueFd(fd);
        }
    }
    return UniqueFd();
}

}  // namespace

std::optional<std::vector<std::string>> readPlaylist(const std::string& path) {
    // Non-blocking only so that opening a pipe cannot wait for a writer; it is refused below.
    UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (!file || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size > kLargestPlaylist) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > static_cast<std::size_t>(kLargestPlaylist)) {
            return std::nullopt;  // it grew while being read
        }
    }
    return parsePlaylist(bytes);
}

std::vector<std::string> parsePlaylist(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    std::vector<std::string> entries;
    const std::size_t size = bytes.size();
    std::size_t at = 0;
    const auto fieldEnd = [&](std::size_t from) {
        while (from < size && bytes[from] != ',' && !isLineEnd(bytes[from])) {
            ++from;
        }
        return from;
    };
    while (at < size) {
        while (at < size && isBlank(bytes[at])) {
            ++at;
        }
        if (at == size) {
            break;
        }
        const char first = bytes[at];
        if (first == ',' || isLineEnd(first)) {
            // The end of an empty field: it names nothing.
            ++at;
            continue;
        }
        if (first == '"') {
            const std::size_t close = bytes.find('"', at + 1);
            if (close == std::string_view::npos) {
                // No quote follows anywhere, so this search happens at most once.
                std::size_t lineEnd = at + 1;
                while (lineEnd < size && !isLineEnd(bytes[lineEnd])) {
                    ++lineEnd;
                }
                entries.emplace_back(bytes.substr(at + 1, lineEnd - at - 1));
                at = lineEnd;
                continue;
            }
            entries.emplace_back(bytes.substr(at + 1, close - at - 1));
            at = fieldEnd(close + 1);
            continue;
        }
        const std::size_t end = fieldEnd(at);
        std::size_t last = end;
        while (last > at && isBlank(bytes[last - 1])) {
            --last;
        }
        entries.emplace_back(bytes.substr(at, last - at));
        at = end;
    }
    return entries;
}

std::string playlistText(const std::vector<std::string>& entries) {
    std::size_t total = 0;
    for (const std::string& entry : entries) {
        total += entry.size() + 4;
    }
    std::string text;
    text.reserve(total);
    for (const std::string& entry : entries) {
        const std::size_t kept = entry.find_last_not_of(' ');
        text += '"';
        text.append(entry, 0, kept == std::string::npos ? 0 : kept + 1);
        text += "\"\r\n";
    }
    return text;
}

bool writePlaylist(const std::string& path, const std::vector<std::string>& entries) {
    if (path.empty()) {
        return false;
    }
    const fs::path target = saveTarget(path);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    // Replacing by a rename needs only the folder's permission; a file the user may not write
    // stays as it is, as it would when written in place.
    if (replacing && (!S_ISREG(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
        return false;
    }

    fs::path temporary;
    UniqueFd file = temporaryBeside(target, temporary);
    if (!file) {
        return false;
    }
    bool written = true;
    if (replacing) {
        if (::fchown(file.get(), old.st_uid, old.st_gid) != 0) {
            // Only root may hand a file to another owner, and a user only to a group of their
            // own; otherwise the new file is the saver's, with the old permissions.
        }
        written = ::fchmod(file.get(), old.st_mode & 0777) == 0;
    }
    written = written && writeAll(file.get(), playlistText(entries));
    written = written && ::fsync(file.get()) == 0;
    written = file.close() && written;
    if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace velmor::music
