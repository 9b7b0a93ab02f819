#include "platform/linux/QtTimers.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace velmor::platform {
namespace {

constexpr int kTickMs = 1000;

class QtIntervalTimer final : public IntervalTimer {
  public:
    QtIntervalTimer() {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (onTimer) {
                onTimer();
            }
        });
    }
    void setInterval(int milliseconds) override {
        interval_ = milliseconds;
        if (timer_.isActive()) {
            timer_.start(std::max(0, interval_));
        }
    }
    int interval() const override { return interval_; }
    void setEnabled(bool enabled) override {
        if (enabled) {
            timer_.start(std::max(0, interval_));
        } else {
            timer_.stop();
        }
    }
    // Enabled until it has fired: a timer that has fired and not been armed again is off.
    bool enabled() const override { return timer_.isActive(); }

  private:
    QTimer timer_;
    int interval_ = 0;
};

class QtCountdown final : public Countdown {
  public:
    QtCountdown() {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    }
    void setDuration(int milliseconds) override { duration_ = milliseconds; }
    int duration() const override { return duration_; }
    void setEnabled(bool enabled) override {
        if (enabled) {
            clock_.start();
            enabled_ = true;
            scheduleNext(std::max(0, duration_));
        } else {
            enabled_ = false;
            timer_.stop();
        }
    }
    bool enabled() const override { return enabled_; }

  private:
    void scheduleNext(qint64 remaining) {
        // Tick on whole seconds of the duration, and once more exactly at its end.
        const qint64 untilNext =
            remaining % kTickMs == 0 ? std::min<qint64>(remaining, kTickMs) : remaining % kTickMs;
        timer_.start(static_cast<int>(untilNext));
    }
    void tick() {
        const qint64 remaining = std::max<qint64>(0, duration_ - clock_.elapsed());
        if (remaining == 0) {
            enabled_ = false;
        } else {
            scheduleNext(remaining);
        }
        if (onTick) {
            onTick(static_cast<int>(remaining));  // may disable or re-arm this countdown
        }
    }

    QTimer timer_;
    QElapsedTimer clock_;
    int duration_ = 0;
    bool enabled_ = false;
};

}  // namespace

std::unique_ptr<IntervalTimer> QtTimers::createIntervalTimer() {
    return std::make_unique<QtIntervalTimer>();
}

std::unique_ptr<Countdown> QtTimers::createCountdown() {
    return std::make_unique<QtCountdown>();
}

}  // namespace velmor::platform
