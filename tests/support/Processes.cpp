#include "support/Processes.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>

namespace velmor::test {

pid_t spawnProcess(std::vector<std::string> args, const std::filesystem::path& errors) {
    std::vector<char*> argv(args.size() + 1);  // ends in a null pointer
    std::ranges::transform(args, argv.begin(), [](std::string& arg) { return arg.data(); });
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        pid = 0;
    }
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void killProcess(pid_t pid) {
    if (pid > 0 && kill(pid, SIGKILL) == 0) {
        waitpid(pid, nullptr, 0);
    }
}

}  // namespace velmor::test
