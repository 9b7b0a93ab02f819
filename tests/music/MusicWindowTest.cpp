// The music tab on a real X server: while Select Music reads a playlist of a million songs, the
// window goes on answering the window manager's pings.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <fstream>
#include <thread>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "music/Playlist.h"
#include "support/FakePlatform.h"
#include "support/XPing.h"

namespace velmor::music {
namespace {

TEST(MusicWindow, WhileSelectMusicReadsAMillionSongsTheWindowAnswersPings) {
    if (QGuiApplication::platformName() != "xcb") {
        GTEST_SKIP() << "needs an X server";
    }
    QTemporaryDir temp;
    const std::string playlist = temp.filePath("large.spl").toStdString();
    {
        std::string lines;
        for (std::size_t i = 0; i < kMostSongs; ++i) {
            lines += "\"/home/player/Music/SNES Soundtracks/Album " + std::to_string(i / 20) +
                     "/Track " + std::to_string(i % 20) + ".spc\"\r\n";
        }
        std::ofstream(playlist, std::ios::binary) << lines;
    }
    test::FakePlatform fake;
    app::MainForm form(fake.platform);
    form.formLoad();
    QWidget& window = form.window();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto& list = *window.findChild<QComboBox*>("MusicList");
    const auto id = static_cast<unsigned long>(window.winId());
    test::XPing ping;
    ASSERT_TRUE(ping.connected());

    std::atomic<int> answered = 0;
    std::atomic<bool> stopped = false;
    std::jthread pinger([&](const std::stop_token& stop) {
        while (!stop.stop_requested()) {
            answered += ping.ping(id, 1000) >= 0 ? 1 : 0;
        }
        stopped = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return answered > 0; }, 10000)) << "no answer at all";
    fake.fileDialogs.answers = {playlist};
    const int before = answered;
    window.findChild<QPushButton*>("Command11")->click();
    int answeredDuringTheRead = 0;
    for (QDeadlineTimer hung(120000); list.count() == 0 && !hung.hasExpired();) {
        answeredDuringTheRead = answered - before;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    pinger.request_stop();
    QTest::qWaitFor([&] { return stopped.load(); });  // the last ping gets its answer

    EXPECT_EQ(static_cast<std::size_t>(list.count()), kMostSongs);
    EXPECT_EQ(list.currentIndex(), 0);
    // A window held up by the read could answer at most the one ping already on its way.
    EXPECT_GE(answeredDuringTheRead, 3) << "pings went unanswered while the playlist was read";
    EXPECT_TRUE(fake.messages.shown.empty());
}

}  // namespace
}  // namespace velmor::music
