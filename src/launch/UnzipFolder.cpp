#include "launch/UnzipFolder.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>

namespace velmor::launch {

namespace {

// Temporary names start with a dot so that a folder listing does not show them as games.
std::string temporaryName(std::uint64_t number) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string name = ".velmor-unzip-";
    for (int shift = 60; shift >= 0; shift -= 4) {
        name += kDigits[(number >> shift) & 0xf];
    }
    return name;
}

std::vector<std::string_view> nameComponents(std::string_view name) {
    std::vector<std::string_view> components;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == '/' || name[i] == '\\') {
            components.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    return components;
}

}  // namespace

Placement placeMember(std::string_view stored, bool keepDirectories, bool isFolder) {
    Placement place;
    const auto components = nameComponents(stored);
    if (!keepDirectories) {
        place.name = std::string(components.back());
        if (place.name.empty() || place.name == "." || place.name == "..") {
            place.problem = "no usable file name";
        }
        return place;
    }
    for (const auto component : components) {
        if (component == "..") {
            place.problem = "name leads out of the folder";
            return place;
        }
        if (!component.empty() && component != ".") {
            place.folders.emplace_back(component);
        }
    }
    if (isFolder) {
        if (place.folders.empty()) {
            place.problem = "no usable folder name";
        }
        return place;
    }
    const auto& last = components.back();
    if (last.empty() || last == "." || place.folders.empty()) {
        place.problem = "no usable file name";
        return place;
    }
    place.name = std::move(place.folders.back());
    place.folders.pop_back();
    return place;
}

int PendingFile::create(int folder, std::optional<PendingFile>& out) {
    std::random_device random;
    std::uint64_t number = (std::uint64_t{random()} << 32) ^ random();
    // O_EXCL: a name someone else took in the meantime is never opened, only tried anew.
    for (int attempt = 0; attempt < 100; ++attempt, ++number) {
        std::string name = temporaryName(number);
        const int fd = ::openat(folder, name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            out.emplace(PendingFile(folder, std::move(name), UniqueFd(fd)));
            return 0;
        }
        if (errno != EEXIST) {
            return errno;
        }
    }
    return EEXIST;
}

PendingFile::PendingFile(int folder, std::string tempName, UniqueFd fd)
    : folder_(folder), tempName_(std::move(tempName)), fd_(std::move(fd)) {}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : folder_(other.folder_),
      tempName_(std::move(other.tempName_)),
      fd_(std::move(other.fd_)),
      committed_(other.committed_) {
    other.committed_ = true;  // the moved-from object owns no file any more
}

PendingFile::~PendingFile() {
    if (!committed_) {
        fd_ = UniqueFd();
        ::unlinkat(folder_, tempName_.c_str(), 0);
    }
}

int PendingFile::write(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd_.get(), data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

int PendingFile::commit(const std::string& name, bool replace) {
    // A full disk may only show at close on some file systems.
    if (!fd_.close() && errno != EINTR) {
        return errno;
    }
    int result = 0;
    if (replace) {
        result = ::renameat(folder_, tempName_.c_str(), folder_, name.c_str());
    } else {
        result = ::renameat2(folder_, tempName_.c_str(), folder_, name.c_str(), RENAME_NOREPLACE);
        if (result != 0 && errno == EINVAL) {
            // File systems without RENAME_NOREPLACE: a hard link fails the same way on a taken
            // name; the temporary name is removed by the destructor.
            result = ::linkat(folder_, tempName_.c_str(), folder_, name.c_str(), 0);
            return result == 0 ? 0 : errno;
        }
    }
    if (result != 0) {
        return errno;
    }
    committed_ = true;
    return 0;
}

int ExtractionFolder::open(const std::string& path, std::optional<ExtractionFolder>& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    out.emplace(ExtractionFolder(UniqueFd(fd)));
    return 0;
}

int ExtractionFolder::subfolder(const std::vector<std::string>& names, UniqueFd& out) const {
    UniqueFd current(::fcntl(root_.get(), F_DUPFD_CLOEXEC, 0));
    if (!current) {
        return errno;
    }
    for (const std::string& name : names) {
        const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
        int fd = ::openat(current.get(), name.c_str(), flags);
        if (fd < 0 && errno == ENOENT) {
            if (::mkdirat(current.get(), name.c_str(), 0777) != 0 && errno != EEXIST) {
                return errno;
            }
            fd = ::openat(current.get(), name.c_str(), flags);
        }
        if (fd < 0) {
            return errno;
        }
        current = UniqueFd(fd);
    }
    out = std::move(current);
    return 0;
}

bool ExtractionFolder::exists(int folder, const std::string& name) {
    struct stat status {};
    return ::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
}

}  // namespace velmor::launch
