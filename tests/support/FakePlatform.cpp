#include "support/FakePlatform.h"

namespace velmor::test {
namespace {

void note(std::vector<std::string>* log, std::string entry) {
    if (log != nullptr) {
        log->push_back(std::move(entry));
    }
}

}  // namespace

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

FakePlatform::FakePlatform() : platform{registry, events, timers, playerWindow, messages, program} {
    timers.log = &log;
    playerWindow.log = &log;
}

}  // namespace velmor::test
