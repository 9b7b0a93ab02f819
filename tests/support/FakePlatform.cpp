#include "support/FakePlatform.h"

namespace velmor::test {
namespace {

void note(std::vector<std::string>* log, std::string entry) {
    if (log != nullptr) {
        log->push_back(std::move(entry));
    }
}

}  // namespace

void FakeEvents::wait(int milliseconds) {
    note(log, "wait " + std::to_string(milliseconds));
    if (onWait) {
        onWait();
    }
}

bool FakeEvents::runAside(const std::function<void(const std::atomic<bool>& stop)>& work) {
    note(log, "aside");
    const std::atomic<bool> stop = quitAside;
    work(stop);
    return !quitAside;
}

void FakeIntervalTimer::setEnabled(bool enabled) {
    enabled_ = enabled;
    note(log, enabled ? "Timer1 on" : "Timer1 off");
}

void FakeIntervalTimer::fire() {
    if (enabled_) {
        enabled_ = false;
        if (onTimer) {
            onTimer();
        }
    }
}

void FakeCountdown::setEnabled(bool enabled) {
    enabled_ = enabled;
    note(log, enabled ? "Countdown1 on" : "Countdown1 off");
}

void FakeCountdown::tick(int remaining) {
    if (enabled_ && onTick) {
        onTick(remaining);
    }
}

std::unique_ptr<platform::IntervalTimer> FakeTimers::createIntervalTimer() {
    auto timer = std::make_unique<FakeIntervalTimer>();
    timer->log = log;
    intervalTimers.push_back(timer.get());
    note(log, "create Timer");
    return timer;
}

std::unique_ptr<platform::Countdown> FakeTimers::createCountdown() {
    auto countdown = std::make_unique<FakeCountdown>();
    countdown->log = log;
    countdowns.push_back(countdown.get());
    note(log, "create Countdown");
    return countdown;
}

bool FakePlayerWindow::activate(std::string_view title) {
    note(log, "activate " + std::string(title) + (present ? "" : " (none)"));
    return present;
}

bool FakePlayerWindow::sendKeys(const std::vector<std::string_view>& keys) {
    for (const auto key : keys) {
        note(log, "key " + std::string(key));
    }
    return present;
}

void FakeMessages::show(std::string_view text) {
    shown.emplace_back(text);
    note(log, "message " + std::string(text));
}

platform::Messages::Answer FakeMessages::ask(std::string_view text, std::string_view title) {
    asked.push_back(std::string(title) + ": " + std::string(text));
    note(log, "ask " + std::string(text));
    return answer;
}

bool FakeProcesses::run(std::string_view kind, std::string_view commandLine) {
    note(log, std::string(kind) + " " + std::string(commandLine));
    if (starts && onRun) {
        onRun(commandLine);
    }
    return starts;
}

bool FakeProcesses::executeAndWait(std::string_view commandLine) {
    return run("execute", commandLine);
}

bool FakeProcesses::startShellAndWait(std::string_view commandLine, int /*handedOn*/) {
    return run("shell", commandLine);
}

bool FakeProcesses::startDetached(std::string_view commandLine) {
    return run("detached", commandLine);
}

std::string FakeShortNames::shortName(std::string_view path) {
    asked.emplace_back(path);
    if (const auto found = names.find(path); found != names.end()) {
        return found->second;
    }
    return unknownIsMissing ? std::string() : std::string(path);
}

void FakeScreenSaver::setActive(bool active) {
    note(log, active ? "screen saver on" : "screen saver off");
}

std::optional<std::string> FakeFileDialogs::next(std::string_view kind,
                                                 platform::FileRequest request) {
    note(log, std::string(kind) + " " + request.title);
    requests.push_back(std::move(request));
    if (answers.empty()) {
        return std::nullopt;
    }
    std::optional<std::string> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

std::optional<std::string> FakeFileDialogs::openFile(const platform::FileRequest& request) {
    return next("open dialog", request);
}

std::optional<std::string> FakeFileDialogs::saveFile(const platform::FileRequest& request) {
    return next("save dialog", request);
}

std::optional<std::string> FakeFileDialogs::browseFolder(std::string_view title) {
    return next("folder browser", platform::FileRequest{std::string(title), {}, {}, 1, {}});
}

FakePlatform::FakePlatform()
    : platform{registry,  events,     timers,      playerWindow, messages, program,
               processes, shortNames, screenSaver, fileDialogs,  fileTypes} {
    events.log = &log;
    timers.log = &log;
    playerWindow.log = &log;
    messages.log = &log;
    processes.log = &log;
    screenSaver.log = &log;
    fileDialogs.log = &log;
    fileTypes.log = &log;
}

void FakeFileTypes::registerType(const platform::FileType& type,
                                 const platform::FileOpener& opener) {
    types.push_back(type);
    openers.push_back(opener);
    note(log, "register " + type.mimeType + " *." + type.extension + " " + opener.programFolder);
}

}  // namespace velmor::test
