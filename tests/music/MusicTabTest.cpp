#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/FormTestSupport.h"
#include "platform/linux/QtEvents.h"
#include "settings/Catalogue.h"

namespace velmor::test {
namespace {

namespace fs = std::filesystem;

using MusicTab = FormTest;

TEST_F(MusicTab, TheCommandLinesPlaylistPlaysAtTheEndOfStartUpAndTheTabsControlsDriveThePlayer) {
    QTemporaryDir temp;
    const fs::path dir = temp.path().toStdString();
    const std::string player = (dir / "spcplay").string();
    std::ofstream(player) << "#!/bin/sh\n";
    fs::permissions(player, fs::perms(0755));
    const std::string odd = "/m/\xff\xfe song.spc";  // not UTF-8: reaches the player unchanged
    std::ofstream(dir / "list.spl", std::ios::binary) << "\"" + odd + "\"\r\n\"/m/two.spc\"\r\n";
    fake.registry.put(settings::kPathsKey, "SPCPlay Loc", player);
    fake.program.line = (dir / "list.spl").string();
    form->formLoad();
    // The playlist is read while the window goes on; it plays once it is in the list.
    ASSERT_TRUE(QTest::qWaitFor([this] { return list("MusicList").count() > 0; }, 60000));
    EXPECT_EQ(get<QTabWidget>("SSTab1").currentIndex(), 5);
    EXPECT_EQ(list("MusicList").count(), 2);
    EXPECT_EQ(fake.log.back(), "detached " + player + "  -r 0 " + odd);

    fake.timers.countdowns.front()->tick(90000);
    EXPECT_EQ(labelText("Label10"), "Time to next song:  1 : 30");
    QTest::mouseClick(&get<QPushButton>("Command14"), Qt::LeftButton);
    EXPECT_EQ(fake.log.back(), "detached " + player + "  -r 0 /m/two.spc");
    fake.timers.intervalTimers.front()->fire();  // the last song's end
    EXPECT_EQ(labelText("Label10"), "Time to next song:  ");
    QTest::mouseClick(&get<QPushButton>("Command9"), Qt::LeftButton);
    EXPECT_EQ(labelText("Label10"), "Time to next song:");
    fake.fileDialogs.answers = {"/m/other.zst"};
    QTest::mouseClick(&get<QPushButton>("Command11"), Qt::LeftButton);
    EXPECT_EQ(list("MusicList").currentText(), "/m/other.zst");
    QTest::mouseClick(&get<QPushButton>("Command13"), Qt::LeftButton);
    EXPECT_EQ(fake.log.back(), "detached " + player + "  -r 0 /m/other.zst");
}

// The pause between two players keeps the window alive: events run while it lasts.
TEST(QtEventsWait, RunsWindowEventsForTheWholePause) {
    platform::QtEvents events;
    QElapsedTimer clock;
    int ran = 0;
    QTimer::singleShot(20, [&ran] { ++ran; });
    clock.start();
    events.wait(200);
    EXPECT_GE(clock.elapsed(), 200);
    EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace velmor::test
