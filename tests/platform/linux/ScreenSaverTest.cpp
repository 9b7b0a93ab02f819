#include "platform/linux/DBusScreenSaver.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

namespace velmor::platform {
namespace {

// A private session bus of its own, so that the test neither needs nor touches the user's.
class ScreenSaverTest : public testing::Test {
  protected:
    QProcess bus;
    QProcess service;
    QString address;

    void SetUp() override {
        bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(bus.waitForStarted()) << "dbus-daemon is needed";
        ASSERT_TRUE(bus.waitForReadyRead(5000));
        address = QString::fromUtf8(bus.readLine()).trimmed();
    }
    void TearDown() override {
        service.kill();
        service.waitForFinished();
        bus.kill();
        bus.waitForFinished();
    }
    void startService() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
        service.setProcessEnvironment(environment);
        service.start(FAKE_SCREENSAVER, {});
        ASSERT_TRUE(service.waitForReadyRead(5000));
        ASSERT_EQ(service.readLine(), "ready\n");
    }
    QStringList calls() {
        service.waitForReadyRead(200);
        return QString::fromUtf8(service.readAll()).split('\n', Qt::SkipEmptyParts);
    }
};

// Switched off twice, the saver is inhibited once; switched on, that inhibition is released
// with the very cookie the service gave.
TEST_F(ScreenSaverTest, OffInhibitsOnceAndOnReleasesWithTheServicesCookie) {
    startService();
    DBusScreenSaver saver(address);
    saver.setActive(false);
    saver.setActive(false);
    const QStringList inhibited = calls();
    ASSERT_EQ(inhibited.size(), 1);
    const QRegularExpressionMatch match =
        QRegularExpression("^Inhibit Velmor .+ -> (\\d+)$").match(inhibited[0]);
    ASSERT_TRUE(match.hasMatch()) << inhibited[0].toStdString();
    saver.setActive(true);
    saver.setActive(true);
    EXPECT_EQ(calls(), QStringList{"UnInhibit " + match.captured(1)});
}

TEST_F(ScreenSaverTest, WithoutServiceOrBusNothingHappensQuickly) {
    QElapsedTimer clock;
    clock.start();
    DBusScreenSaver noService(address);
    noService.setActive(false);
    noService.setActive(true);
    DBusScreenSaver noBus;  // the test's session bus address is "disabled:"
    noBus.setActive(false);
    noBus.setActive(true);
    DBusScreenSaver deadBus("unix:path=/nonexistent/bus");
    deadBus.setActive(false);
    EXPECT_LT(clock.elapsed(), 1000);

    // Inhibited before the service came, nothing is held: switching on asks nothing of it.
    startService();
    noService.setActive(true);
    EXPECT_TRUE(calls().isEmpty());
}

}  // namespace
}  // namespace velmor::platform
