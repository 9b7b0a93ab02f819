#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/FakeRegistry.h"

namespace velmor::test {

// Event processing that counts its calls and lets a test act at each of them.
class FakeEvents final : public platform::Events {
  public:
    void process() override {
        ++processed;
        if (onProcess) {
            onProcess();
        }
    }
    // Logs "wait N", lets `onWait` act as an event in the pause would, and returns at once.
    void wait(int milliseconds) override;
    // Logs "aside" and runs the work at once; false when `quitAside` is set, as when the program
    // quits meanwhile.
    bool runAside(const std::function<void(const std::atomic<bool>& stop)>& work) override;
    bool quitAside = false;
    int processed = 0;
    std::function<void()> onProcess;
    std::function<void()> onWait;
    std::vector<std::string>* log = nullptr;
};

// Timers that fire only when the test says so.
class FakeIntervalTimer final : public platform::IntervalTimer {
  public:
    void setInterval(int milliseconds) override { interval_ = milliseconds; }
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }
    // Fires once when enabled, as the real timer does when its interval has elapsed.
    void fire();
    std::vector<std::string>* log = nullptr;

  private:
    int interval_ = 0;
    bool enabled_ = false;
};

class FakeCountdown final : public platform::Countdown {
  public:
    void setDuration(int milliseconds) override { duration_ = milliseconds; }
    int duration() const override { return duration_; }
    void setEnabled(bool enabled) override;
    bool enabled() const override { return enabled_; }
    void tick(int remaining);
    std::vector<std::string>* log = nullptr;

  private:
    int duration_ = 0;
    bool enabled_ = false;
};

class FakeTimers final : public platform::Timers {
  public:
    std::unique_ptr<platform::IntervalTimer> createIntervalTimer() override;
    std::unique_ptr<platform::Countdown> createCountdown() override;
    std::vector<FakeIntervalTimer*> intervalTimers;  // owned by whoever asked
    std::vector<FakeCountdown*> countdowns;
    std::vector<std::string>* log = nullptr;
};

// A player window that is there or not, as the test sets it, and records the keys it got.
class FakePlayerWindow final : public platform::PlayerWindow {
  public:
    bool activate(std::string_view title) override;
    bool sendKeys(const std::vector<std::string_view>& keys) override;
    bool present = false;
    std::vector<std::string>* log = nullptr;
};

// Message boxes that never block: shown texts are kept, questions get the answer set here.
class FakeMessages final : public platform::Messages {
  public:
    void show(std::string_view text) override;
    Answer ask(std::string_view text, std::string_view title) override;
    std::vector<std::string> shown;
    std::vector<std::string> asked;  // "title: text"
    Answer answer = Answer::Yes;
    std::vector<std::string>* log = nullptr;
};

// Programs that are never started: each command line is logged ("execute ...", "shell ...",
// "detached ..."), `onRun` runs where the program would, and the start succeeds as set.
class FakeProcesses final : public platform::Processes {
  public:
    bool executeAndWait(std::string_view commandLine) override;
    bool startShellAndWait(std::string_view commandLine, int handedOn) override;
    bool startDetached(std::string_view commandLine) override;
    bool starts = true;
    std::function<void(std::string_view commandLine)> onRun;
    std::vector<std::string>* log = nullptr;

  private:
    bool run(std::string_view kind, std::string_view commandLine);
};

// Short names from a table; a path not in it is its own short name unless `unknownIsMissing`.
class FakeShortNames final : public platform::ShortNames {
  public:
    std::string shortName(std::string_view path) override;
    std::map<std::string, std::string, std::less<>> names;
    bool unknownIsMissing = false;
    std::vector<std::string> asked;
};

class FakeScreenSaver final : public platform::ScreenSaver {
  public:
    void setActive(bool active) override;
    std::vector<std::string>* log = nullptr;
};

// File dialogs answered from a queue, one answer a dialog; an empty queue is a cancel.
class FakeFileDialogs final : public platform::FileDialogs {
  public:
    std::optional<std::string> openFile(const platform::FileRequest& request) override;
    std::optional<std::string> saveFile(const platform::FileRequest& request) override;
    std::optional<std::string> browseFolder(std::string_view title) override;
    std::deque<std::optional<std::string>> answers;
    std::vector<platform::FileRequest> requests;  // a folder browser's carries only its title
    std::vector<std::string>* log = nullptr;

  private:
    std::optional<std::string> next(std::string_view kind, platform::FileRequest request);
};

// A file-type store that keeps what it was told, and logs "register TYPE *.EXT FOLDER".
class FakeFileTypes final : public platform::FileTypes {
  public:
    void registerType(const platform::FileType& type, const platform::FileOpener& opener) override;
    std::vector<platform::FileType> types;
    std::vector<platform::FileOpener> openers;
    std::vector<std::string>* log = nullptr;
};

class FakeProgramInfo final : public platform::ProgramInfo {
  public:
    std::string folder() const override { return programFolder; }
    std::string commandLine() const override { return line; }
    std::string programFolder = "/opt/velmor";
    std::string line;
};

// Every fake in one place, wired into a Platform, sharing one log of outside actions.
struct FakePlatform {
    FakePlatform();
    FakeRegistry registry;
    FakeEvents events;
    FakeTimers timers;
    FakePlayerWindow playerWindow;
    FakeMessages messages;
    FakeProgramInfo program;
    FakeProcesses processes;
    FakeShortNames shortNames;
    FakeScreenSaver screenSaver;
    FakeFileDialogs fileDialogs;
    FakeFileTypes fileTypes;
    std::vector<std::string> log;
    platform::Platform platform;
};

}  // namespace velmor::test
