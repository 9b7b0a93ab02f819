#include "platform/linux/LinuxProcesses.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace velmor::platform {
namespace {

// A window that counts the input it is given.
class CountingWidget final : public QWidget {
  public:
    int presses = 0;
    int keys = 0;

  protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void keyPressEvent(QKeyEvent*) override { ++keys; }
};

class ProcessesTest : public testing::Test {
  protected:
    QTemporaryDir temp;
    QString recorder = temp.filePath("record.sh");
    LinuxProcesses processes;

    // A program that appends each word it receives, in brackets, to the file "words".
    void SetUp() override {
        QFile script(recorder);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nfor w in \"$@\"; do printf '[%s]' \"$w\"; done >> " +
                     QFile::encodeName(temp.filePath("words")) + "\n");
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    std::string words() {
        QFile file(temp.filePath("words"));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "(none)";
    }
    static void postPress(QWidget& widget) {
        QCoreApplication::postEvent(
            &widget, new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5),
                                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(
            &widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
    }
};

TEST_F(ProcessesTest, TheProgramGetsTheWordsOfTheCommandLine) {
    const std::string program = recorder.toStdString();
    EXPECT_TRUE(processes.executeAndWait(program + "  -ad sb   -r 3 /roms/x.smc "));
    EXPECT_EQ(words(), "[-ad][sb][-r][3][/roms/x.smc]");
    QFile::remove(temp.filePath("words"));
    // The text after the prefix is one script: only then does ';' start a second command.
    EXPECT_TRUE(processes.startShellAndWait(
        std::string(kShellPrefix) + program + " -ad  sb /roms/x.smc; " + program + " again", -1));
    EXPECT_EQ(words(), "[-ad][sb][/roms/x.smc][again]");
}

TEST_F(ProcessesTest, AProgramThatCannotStartReturnsAtOnce) {
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(processes.executeAndWait("/no/such/zsnes -ad sb /roms/x.smc"));
    EXPECT_FALSE(processes.executeAndWait("   "));
    EXPECT_FALSE(processes.startShellAndWait("/no/such/command.com /c x", -1));
    EXPECT_FALSE(processes.startDetached("/no/such/spcplay song.spc"));
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(processes.startDetached(recorder.toStdString() + " detached"));
    QTRY_COMPARE(QString::fromStdString(words()), QStringLiteral("[detached]"));
}

// While the emulator runs directly, clicks, keys and the close box are thrown away (not
// delivered later) but timers still fire; while the shell command runs, the window is usable.
TEST_F(ProcessesTest, InputIsSwallowedOnlyDuringTheBlockingWait) {
    CountingWidget widget;
    widget.resize(100, 100);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    QTimer::singleShot(50, [&] {
        postPress(widget);
        widget.windowHandle()->close();
    });
    EXPECT_TRUE(processes.executeAndWait("/bin/sleep 0.4"));
    QCoreApplication::processEvents();
    EXPECT_EQ(widget.presses, 0);
    EXPECT_EQ(widget.keys, 0);
    EXPECT_TRUE(widget.isVisible());
    EXPECT_GE(ticks, 5);

    QTimer::singleShot(50, [&] { postPress(widget); });
    EXPECT_TRUE(processes.startShellAndWait(std::string(kShellPrefix) + "sleep 0.3", -1));
    EXPECT_EQ(widget.presses, 1);
    EXPECT_EQ(widget.keys, 1);
}

// Closing the last window ends every event loop; the game must still be waited for, not killed.
TEST_F(ProcessesTest, QuittingDuringTheWaitDoesNotCutTheProgramOff) {
    bool started = false;
    QTimer::singleShot(0, [&] {
        started = processes.startShellAndWait(
            std::string(kShellPrefix) + "sleep 0.3; " + recorder.toStdString() + " finished", -1);
    });
    QTimer::singleShot(50, &QCoreApplication::quit);
    QApplication::exec();
    EXPECT_TRUE(started);
    EXPECT_EQ(words(), "[finished]");
}

}  // namespace
}  // namespace velmor::platform
