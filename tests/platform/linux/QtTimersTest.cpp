#include "platform/linux/QtEvents.h"
#include "platform/linux/QtTimers.h"

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

// Once armed, the song timer fires once and then stays quiet: a timer left enabled after the
// last song must not fire again and again. Disabling cancels a pending expiry.
TEST(QtTimers, TheIntervalTimerFiresOncePerArming) {
    QtTimers timers;
    auto timer = timers.createIntervalTimer();
    int fired = 0;
    timer->onTimer = [&] { ++fired; };
    timer->setInterval(20);
    timer->setEnabled(true);
    runFor(150);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer->enabled());
    timer->setEnabled(true);
    timer->setEnabled(false);
    runFor(60);
    EXPECT_EQ(fired, 1);
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
    for (int waited = 0; countdown->enabled() && waited < 6000; waited += 50) {
        runFor(50);
    }
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_NEAR(ticks[0], 2000, 250);
    EXPECT_NEAR(ticks[1], 1000, 250);
    EXPECT_EQ(ticks[2], 0);
    EXPECT_NEAR(static_cast<double>(at[2]), 2300, 400);
    EXPECT_FALSE(countdown->enabled());
}

// The pause between two players keeps the window alive: events run while it lasts.
TEST(QtEvents, WaitRunsWindowEventsForTheWholePause) {
    QtEvents events;
    QElapsedTimer clock;
    int ran = 0;
    QTimer::singleShot(20, [&ran] { ++ran; });
    clock.start();
    events.wait(200);
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace velmor::platform
