#pragma once

#include <filesystem>
#include <string>

#include "platform/UniqueFd.h"

namespace velmor::platform {

// The lock beside a settings store, the file `<store>.lock`. A window holds it shared for as
// long as it runs, so that windows run side by side; an import of settings takes it alone, and
// never while a window has the store open (the window would write its own settings over the
// imported ones when it closes). The lock ends with its holder, however the process ends.
class StoreLock final {
  public:
    enum class State { Held, TakenByOthers, Failed };

    // For a window. While an import holds the lock, waits until it has ended.
    static StoreLock forWindow(const std::filesystem::path& store);
    // For an import: not when anyone else holds it.
    static StoreLock forImport(const std::filesystem::path& store);

    State state() const { return state_; }
    // Why the lock file could not be used (State::Failed).
    const std::string& problem() const { return problem_; }

  private:
    StoreLock(State state, UniqueFd fd, std::string problem)
        : state_(state), fd_(std::move(fd)), problem_(std::move(problem)) {}
    static StoreLock take(const std::filesystem::path& store, bool alone);

    State state_;
    UniqueFd fd_;
    std::string problem_;
};

// The lock file of a store: its name with ".lock" added.
std::filesystem::path lockFileOf(const std::filesystem::path& store);

}  // namespace velmor::platform
