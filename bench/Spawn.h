#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace velmor::bench {

// A program run to its end: its wait status, the time from its start to its end, and its own
// processor time and peak memory.
struct Run {
    int status = -1;
    double ms = 0;
    double cpuMs = 0;  // user and system time of the program
    long peakKb = 0;
};

// Runs the program of `words[0]` (looked up on PATH) with the rest as its arguments, its standard
// output going into `output`, and waits for it.
inline Run runProgram(const std::vector<std::string>& words, const char* output = "/dev/null") {
    std::vector<char*> argv;
    for (const auto& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output, O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    Run run;
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        rusage usage{};
        wait4(pid, &run.status, 0, &usage);
        run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count();
        run.peakKb = usage.ru_maxrss;
        const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
        run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

}  // namespace velmor::bench
