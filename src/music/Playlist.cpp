#include "music/Playlist.h"

#include "music/PlaylistParser.h"
#include "platform/UniqueFd.h"
#include "settings/Blanks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <new>
#include <random>
#include <utility>

namespace velmor::music {
namespace {

namespace fs = std::filesystem;

// Far beyond any list of songs (a million long paths); a larger file is taken for something else
// rather than read into memory whole.
constexpr off_t kLargestPlaylist = off_t{256} << 20;

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

std::string playlistCutText(std::string_view playlist) {
    std::string most = std::to_string(kMostSongs);
    for (auto at = static_cast<std::ptrdiff_t>(most.size()) - 3; at > 0; at -= 3) {
        most.insert(static_cast<std::size_t>(at), 1, ',');
    }
    return "The playlist " + std::string(playlist) + " holds more than " + most +
           " songs; only the first " + most + " were loaded.";
}

std::optional<PlaylistRead> readPlaylist(const std::string& path, std::size_t most,
                                         std::stop_token stop) {
    // Non-blocking only so that opening a pipe cannot wait for a writer; it is refused below.
    UniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat status {};
    if (!file || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size > kLargestPlaylist) {
        return std::nullopt;
    }
    try {
        PlaylistParser parser(most, static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)));
        std::array<char, 65536> buffer;
        off_t total = 0;
        for (;;) {
            if (stop.stop_requested()) {
                return std::nullopt;
            }
            const ssize_t got = ::read(file.get(), buffer.data(), buffer.size());
            if (got == 0) {
                break;
            }
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return std::nullopt;
            }
            total += got;
            if (total > kLargestPlaylist) {
                return std::nullopt;  // it grew while being read
            }
            if (!parser.feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)))) {
                break;  // the list is full: the rest need not be read
            }
        }
        return std::move(parser).finish();
    } catch (const std::bad_alloc&) {
        // More than the memory left can hold: as unreadable as a damaged file, and the program
        // goes on.
        return std::nullopt;
    }
}

PlaylistRead parsePlaylist(std::string_view bytes, std::size_t most) {
    PlaylistParser parser(most, bytes.size());
    parser.feed(bytes);
    return std::move(parser).finish();
}

std::string playlistText(const PathList& entries) {
    std::size_t total = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        total += entries[i].size() + 4;
    }
    std::string text;
    text.reserve(total);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        text += '"';
        text.append(settings::trimTrailingBlanks(entries[i]));
        text += "\"\r\n";
    }
    return text;
}

std::string playlistText(const std::vector<std::string>& entries) {
    return playlistText(PathList(entries));
}

bool writePlaylist(const std::string& path, const PathList& entries) {
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
