#include "support/FakePlatform.h"

namespace velmor::test {

void FakeEvents::wait(int milliseconds) {
    note("wait " + std::to_string(milliseconds));
    if (onWait) {
        onWait();
    }
}

bool FakeEvents::runAside(const std::function<void(const std::atomic<bool>& stop)>& work) {
    note("aside");
    const std::atomic<bool> stop = quitAside;
    work(stop);
    return !quitAside;
}

std::unique_ptr<platform::IntervalTimer> FakeTimers::createIntervalTimer() {
    auto timer = std::make_unique<FakeIntervalTimer>();
    timer->log = log;
    note("create Timer");
    return timer;
}

std::unique_ptr<platform::Countdown> FakeTimers::createCountdown() {
    auto countdown = std::make_unique<FakeCountdown>();
    countdown->log = log;
    countdowns.push_back(countdown.get());
    note("create Countdown");
    return countdown;
}

bool FakeProcesses::run(std::string_view kind, std::string_view commandLine) {
    note(std::string(kind) + " " + std::string(commandLine));
    if (starts && onRun) {
        onRun(commandLine);
    }
    return starts;
}

bool FakeProcesses::run(std::string_view kind, const platform::Command& command) {
    std::string line = command.program;
    for (const std::string& argument : command.arguments) {
        line += '|' + argument;
    }
    return run(kind, line);
}

std::optional<std::string> FakeFileDialogs::next(std::string_view kind,
                                                 platform::FileRequest request) {
    note(std::string(kind) + " " + request.title);
    requests.push_back(std::move(request));
    if (answers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

FakePlatform::FakePlatform()
    : platform{registry,  events,     timers,      playerWindow, messages,  program,
               processes, shortNames, screenSaver, fileDialogs,  fileTypes, wine} {
    for (Logged* fake :
         std::initializer_list<Logged*>{&events, &timers, &playerWindow, &messages, &processes,
                                        &screenSaver, &fileDialogs, &fileTypes, &wine}) {
        fake->log = &log;
    }
}

}  // namespace velmor::test
