#include "platform/QtTimers.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <vector>

namespace velmor::platform {
namespace {

// Runs the event loop for `milliseconds`.
void runFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(QtTimers, TheIntervalTimerFiresOncePerArming) {
    QtTimers timers;
    auto timer = timers.createIntervalTimer();
    int fired = 0;
    timer->onTimer = [&] { ++fired; };
    runFor(60);
    EXPECT_EQ(fired, 0);  // a new timer is quiet until enabled
    timer->setInterval(20);
    timer->setEnabled(true);
    EXPECT_TRUE(timer->enabled());
    runFor(150);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer->enabled());
    timer->setEnabled(true);
    timer->setEnabled(false);  // disabling cancels the pending expiry
    runFor(60);
    EXPECT_EQ(fired, 1);
    // Re-arming from inside the event starts it afresh.
    timer->onTimer = [&] {
        if (++fired < 4) {
            timer->setEnabled(true);
        }
    };
    timer->setEnabled(true);
    runFor(250);
    EXPECT_EQ(fired, 4);
}

TEST(QtTimers, TheCountdownTicksAboutEverySecondAndEndsAtZero) {
    QtTimers timers;
    auto countdown = timers.createCountdown();
    std::vector<int> ticks;
    std::vector<qint64> at;
    QElapsedTimer clock;
    countdown->onTick = [&](int remaining) {
        ticks.push_back(remaining);
        at.push_back(clock.elapsed());
    };
    countdown->setDuration(2300);
    clock.start();
    countdown->setEnabled(true);
    runFor(2700);
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_NEAR(ticks[0], 2000, 60);
    EXPECT_NEAR(ticks[1], 1000, 60);
    EXPECT_EQ(ticks[2], 0);
    EXPECT_NEAR(static_cast<double>(at[2]), 2300, 150);
    EXPECT_FALSE(countdown->enabled());
}

TEST(QtTimers, ADisabledCountdownTicksNoMore) {
    QtTimers timers;
    auto countdown = timers.createCountdown();
    int ticks = 0;
    countdown->onTick = [&](int) {
        ++ticks;
        countdown->setEnabled(false);
    };
    countdown->setDuration(1500);
    countdown->setEnabled(true);
    runFor(1800);
    EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace velmor::platform
