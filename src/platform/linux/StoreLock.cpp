#include "platform/linux/StoreLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>

namespace velmor::platform {

std::filesystem::path lockFileOf(const std::filesystem::path& store) {
    std::filesystem::path lock = store;
    lock += ".lock";
    return lock;
}

StoreLock StoreLock::take(const std::filesystem::path& store, bool alone) {
    const std::filesystem::path file = lockFileOf(store);
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOCTTY, 0644));
    if (!fd) {
        return {State::Failed, {}, file.string() + ": " + std::strerror(errno)};
    }
    const int mode = alone ? LOCK_EX : LOCK_SH;
    int result = 0;
    do {
        result = ::flock(fd.get(), mode | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0 && errno == EWOULDBLOCK) {
        if (alone) {
            return {State::TakenByOthers, {}, {}};
        }
        // An import is running: it takes well under a second; the window then loads what it
        // imported.
        do {
            result = ::flock(fd.get(), mode);
        } while (result != 0 && errno == EINTR);
    }
    if (result != 0) {
        return {State::Failed, {}, file.string() + ": " + std::strerror(errno)};
    }
    return {State::Held, std::move(fd), {}};
}

StoreLock StoreLock::forWindow(const std::filesystem::path& store) {
    return take(store, false);
}

StoreLock StoreLock::forImport(const std::filesystem::path& store) {
    return take(store, true);
}

}  // namespace velmor::platform
