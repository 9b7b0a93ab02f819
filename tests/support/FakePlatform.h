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

// A fake's record of what it was asked to do, in the log it shares with the other fakes.
class Logged {
  public:
    std::vector<std::string>* log = nullptr;

  protected:
    void note(std::string entry) const {
        if (log != nullptr) {
            log->push_back(std::move(entry));
        }
    }
};

// Event processing that lets a test act where events would run.
class FakeEvents final : public platform::Events, public Logged {
  public:
    void process() override {
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
    std::function<void()> onProcess;
    std::function<void()> onWait;
};

// Timers that fire only when the test says so.
class FakeIntervalTimer final : public platform::IntervalTimer, public Logged {
  public:
    void setInterval(int milliseconds) override { interval_ = milliseconds; }
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override {
        enabled_ = enabled;
        note(enabled ? "Timer1 on" : "Timer1 off");
    }
    bool enabled() const override { return enabled_; }

  private:
    int interval_ = 0;
    bool enabled_ = false;
};

class FakeCountdown final : public platform::Countdown, public Logged {
  public:
    void setDuration(int milliseconds) override { duration_ = milliseconds; }
    int duration() const override { return duration_; }
    void setEnabled(bool enabled) override {
        enabled_ = enabled;
        note(enabled ? "Countdown1 on" : "Countdown1 off");
    }
    bool enabled() const override { return enabled_; }
    // A tick of the running countdown, as the real one gives about every second.
    void tick(int remaining) {
        if (enabled_ && onTick) {
            onTick(remaining);
        }
    }

  private:
    int duration_ = 0;
    bool enabled_ = false;
};

class FakeTimers final : public platform::Timers, public Logged {
  public:
    std::unique_ptr<platform::IntervalTimer> createIntervalTimer() override;
    std::unique_ptr<platform::Countdown> createCountdown() override;
    std::vector<FakeCountdown*> countdowns;  // owned by whoever asked
};

// A player window that is there or not, as the test sets it, and records the keys it got.
class FakePlayerWindow final : public platform::PlayerWindow, public Logged {
  public:
    bool activate(std::string_view title) override {
        note("activate " + std::string(title) + (present ? "" : " (none)"));
        return present;
    }
    bool sendKeys(const std::vector<std::string_view>& keys) override {
        for (const auto key : keys) {
            note("key " + std::string(key));
        }
        return present;
    }
    bool exists(std::string_view) override { return present; }
    void minimise() override { note("minimise"); }
    bool present = false;
};

// Message boxes that never block: shown texts are kept, questions are answered Yes.
class FakeMessages final : public platform::Messages, public Logged {
  public:
    void show(std::string_view text) override {
        shown.emplace_back(text);
        note("message " + std::string(text));
    }
    Answer ask(std::string_view text, std::string_view) override {
        note("ask " + std::string(text));
        return Answer::Yes;
    }
    std::vector<std::string> shown;
};

// Programs that are never started: each command line is logged ("execute ...", "shell ...",
// "detached ..."), `onRun` runs where the program would, and the start succeeds as set.
class FakeProcesses final : public platform::Processes, public Logged {
  public:
    bool executeAndWait(std::string_view commandLine) override {
        return run("execute", commandLine);
    }
    bool startShellAndWait(std::string_view commandLine, int) override {
        return run("shell", commandLine);
    }
    bool startDetached(std::string_view commandLine) override {
        return run("detached", commandLine);
    }
    // A program given with its arguments is logged with them joined by '|'.
    bool executeAndWait(const platform::Command& command) override {
        return run("execute", command);
    }
    bool startAndWait(const platform::Command& command, int) override {
        return run("wait", command);
    }
    bool startDetached(const platform::Command& command) override {
        return run("detached", command);
    }
    bool starts = true;
    std::function<void(std::string_view commandLine)> onRun;

  private:
    bool run(std::string_view kind, std::string_view commandLine);
    bool run(std::string_view kind, const platform::Command& command);
};

// Short names from a table; a path not in it is its own short name unless `unknownIsMissing`.
class FakeShortNames final : public platform::ShortNames {
  public:
    std::string shortName(std::string_view path) override {
        if (const auto found = names.find(path); found != names.end()) {
            return found->second;
        }
        return unknownIsMissing ? std::string() : std::string(path);
    }
    // "Z:" and the short name with '\\' for '/'.
    std::string windowsPath(std::string_view path) override {
        std::string form = shortName(path);
        if (form.empty()) {
            return form;
        }
        for (char& c : form) {
            c = c == '/' ? '\\' : c;
        }
        return "Z:" + form;
    }
    std::map<std::string, std::string, std::less<>> names;
    bool unknownIsMissing = false;
};

class FakeScreenSaver final : public platform::ScreenSaver, public Logged {
  public:
    void setActive(bool active) override { note(active ? "screen saver on" : "screen saver off"); }
};

// File dialogs answered from a queue, one answer a dialog; an empty queue is a cancel.
class FakeFileDialogs final : public platform::FileDialogs, public Logged {
  public:
    std::optional<std::string> openFile(const platform::FileRequest& request) override {
        return next("open dialog", request);
    }
    std::optional<std::string> saveFile(const platform::FileRequest& request) override {
        return next("save dialog", request);
    }
    std::optional<std::string> browseFolder(std::string_view title) override {
        return next("folder browser", platform::FileRequest{std::string(title), {}, {}, 1, {}});
    }
    std::deque<std::optional<std::string>> answers;
    std::vector<platform::FileRequest> requests;  // a folder browser's carries only its title

  private:
    std::optional<std::string> next(std::string_view kind, platform::FileRequest request);
};

// A file-type store that logs "register TYPE *.EXT FOLDER".
class FakeFileTypes final : public platform::FileTypes, public Logged {
  public:
    void registerType(const platform::FileType& type, const platform::FileOpener& opener) override {
        note("register " + type.mimeType + " *." + type.extension + " " + opener.programFolder);
    }
};

class FakeProgramInfo final : public platform::ProgramInfo {
  public:
    std::string folder() const override { return programFolder; }
    std::string commandLine() const override { return line; }
    std::string programFolder = "/opt/velmor";
    std::string line;
};

// Wine that is there or not as the test sets it: `problemText`, when set, is every check's
// answer ("wine check ..." logged); commands run "wine" with the program first.
class FakeWine final : public platform::Wine, public Logged {
  public:
    std::optional<std::string> problem(std::string_view program, bool thirtyTwoBit) override {
        note("wine check " + std::string(program) + (thirtyTwoBit ? " 32" : " 64"));
        return problemText;
    }
    platform::Command command(const std::string& exe, std::vector<std::string> arguments) override {
        arguments.insert(arguments.begin(), exe);
        return {"wine", std::move(arguments), {{"WINEDEBUG", "-all"}}};
    }
    platform::Command minimisedCommand(const std::string& exe,
                                       std::vector<std::string> arguments) override {
        arguments.insert(arguments.begin(), {"start", "/min", exe});
        return {"wine", std::move(arguments), {{"WINEDEBUG", "-all"}}};
    }
    std::optional<std::string> problemText;
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
    FakeWine wine;
    std::vector<std::string> log;
    platform::Platform platform;
};

}  // namespace velmor::test
