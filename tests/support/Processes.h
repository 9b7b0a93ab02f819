#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

namespace velmor::test {

// Starts a program (its path first) with the environment of this process, its standard error
// into `errors`; the process id, or 0 when it could not start.
pid_t spawnProcess(std::vector<std::string> args,
                   const std::filesystem::path& errors = "/dev/null");
// Kills the process, if it still runs, and reaps it.
void killProcess(pid_t pid);

// Asks `done` every 2 ms until it holds, for at most five seconds.
template <class Done>
bool within5s(Done done) {
    for (int tries = 0; tries < 2500; ++tries, usleep(2000)) {
        if (done()) {
            return true;
        }
    }
    return false;
}

}  // namespace velmor::test
