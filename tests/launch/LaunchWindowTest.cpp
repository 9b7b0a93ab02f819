// The main window while the emulator of a direct launch runs, driven by real X input: it takes
// no input (a second LAUNCH, a click on an option), yet keeps repainting.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "launch/GameLauncher.h"
#include "platform/linux/QtEvents.h"
#include "support/EmulatorRuns.h"
#include "support/Files.h"
#include "support/RealProcesses.h"
#include "support/XInput.h"
#include "support/XPing.h"

namespace velmor::launch {
namespace {

namespace fs = std::filesystem;

// Counts the paint events a widget receives.
class PaintCounter final : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// The main window with the stand-in emulator as ZSNES, launching for real from a ROM folder.
class LaunchWindow : public testing::Test {
  protected:
    void SetUp() override {
        if (!input.connected() || QGuiApplication::platformName() != "xcb") {
            GTEST_SKIP() << "needs an X server";
        }
        test::useRuntimeFolder(dir);
        setenv("FAKE_EMULATOR_LOG", (dir / "log").c_str(), 1);
        fs::create_directories(dir / "roms");
    }
    // Shows the window with `game` chosen; `events` runs its events, if given.
    QWidget& show(const char* game, platform::Events* events = nullptr) {
        real.emplace(fake, events);
        form = std::make_unique<app::MainForm>(real->platform());
        form->formLoad();
        form->record().zsnesPath = FAKE_EMULATOR;
        form->record().romPath = (dir / "roms").string();
        QWidget& window = form->window();
        window.findChild<QLabel*>("GmLabel")->setText(game);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        return window;
    }
    std::size_t runsLogged() const { return test::readRuns(dir / "log").size(); }

    test::XInput input;
    QTemporaryDir temp;
    const fs::path dir{temp.path().toStdString()};
    test::FakePlatform fake;
    platform::QtEvents qtEvents;
    std::optional<test::RealProcesses> real;
    std::unique_ptr<app::MainForm> form;
};

TEST_F(LaunchWindow, WhileTheEmulatorRunsTheWindowRepaintsButTakesNoInput) {
    setenv("FAKE_EMULATOR_SLEEP_MS", "1500", 1);
    std::ofstream(dir / "roms/game.smc") << "ROM";
    QWidget& window = show("game.smc");
    auto& launch = *window.findChild<QPushButton*>("Command1");
    auto& pages = *window.findChild<QTabWidget*>("SSTab1");
    auto* shown = window.findChild<QCheckBox*>("Check1");  // "Enabled", of the sound page
    for (int page = 0; page < pages.count() && !shown->isVisible(); ++page) {
        pages.setCurrentIndex(page);
    }
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window) && shown->isVisible());
    auto& sound = *shown;
    auto& tabs = *window.findChild<QWidget*>("SSTab1");
    ASSERT_FALSE(sound.isChecked());

    PaintCounter counter;
    window.installEventFilter(&counter);
    int paintsWhileRunning = -1;
    // While the game runs: the window is asked to repaint, and LAUNCH and an option are clicked.
    QTimer::singleShot(500, [&] {
        counter.paints = 0;
        window.update();
        tabs.update();
        input.click(launch.mapToGlobal(launch.rect().center()));
        QTimer::singleShot(200, [&] {
            QStyleOptionButton option;
            option.initFrom(&sound);
            const QRect box =
                sound.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &sound);
            input.click(sound.mapToGlobal(box.center()));
        });
        QTimer::singleShot(
            600, [&] { paintsWhileRunning = form->launcher().running() ? counter.paints : -2; });
    });
    QElapsedTimer clock;
    clock.start();
    input.click(launch.mapToGlobal(launch.rect().center()));
    QTest::qWait(100);
    EXPECT_GE(clock.elapsed(), 1400);  // the wait happened inside the click
    QTest::qWait(1000);                // room for any click that was held back

    EXPECT_EQ(runsLogged(), 1u);
    EXPECT_FALSE(sound.isChecked());
    EXPECT_GT(paintsWhileRunning, 0);
    unsetenv("FAKE_EMULATOR_SLEEP_MS");
}

// A large archive is extracted off the window's thread: meanwhile the window answers the window
// manager's pings, and a second LAUNCH is refused. Afterwards the folder is empty again.
TEST_F(LaunchWindow, WhileAZipArchiveIsExtractedTheWindowAnswersAndLaunchIsRefused) {
    // 200 MiB that compress to little: seconds of work for the extraction.
    const std::string make =
        "cd " + (dir / "roms").string() +
        " && truncate -s 200M GAME.SMC && zip -q game.zip GAME.SMC && rm GAME.SMC";
    ASSERT_EQ(std::system(make.c_str()), 0);
    QWidget& window = show("game.zip", &qtEvents);
    auto& launch = *window.findChild<QPushButton*>("Command1");
    const QPoint launchAt = launch.mapToGlobal(launch.rect().center());
    const fs::path extraction = dir / "runtime/velmor/temp";
    const auto extracting = [&] {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(extraction, error)) {
            if (entry.path().filename().string().starts_with(".velmor-unzip-")) {
                return true;
            }
        }
        return false;
    };

    // Pings sent and answered while a member is being written; a second LAUNCH meanwhile.
    std::atomic<bool> done = false;
    std::atomic<bool> pinged = false;
    std::atomic<int> answeredWhileExtracting = 0;
    std::atomic<int> unanswered = 0;
    const auto id = static_cast<unsigned long>(window.winId());
    std::thread pinger([&] {
        test::XPing ping;
        test::XInput again;
        bool clicked = false;
        while (!done) {
            const bool before = extracting();
            const int answer = ping.ping(id, 5000);
            unanswered += answer < 0 ? 1 : 0;
            if (before && answer >= 0 && extracting()) {
                ++answeredWhileExtracting;
                if (!clicked) {
                    again.click(launchAt);
                    clicked = true;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        pinged = true;
    });
    input.click(launchAt);
    QTest::qWait(100);  // returns when the launch has ended
    QTest::qWait(500);  // room for a click that was held back
    done = true;
    while (!pinged) {
        QTest::qWait(10);  // the last ping is answered too
    }
    pinger.join();

    EXPECT_GE(answeredWhileExtracting, 2);
    EXPECT_EQ(unanswered, 0);
    EXPECT_EQ(runsLogged(), 1u);
    EXPECT_TRUE(fake.messages.shown.empty()) << testing::PrintToString(fake.messages.shown);
    EXPECT_TRUE(fs::is_empty(extraction));
}

}  // namespace
}  // namespace velmor::launch
