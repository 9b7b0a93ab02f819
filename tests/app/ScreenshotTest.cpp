#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "dialogs/LoadingWindow.h"
#include "dialogs/OptionsWindow.h"
#include "launch/GameSelect.h"
#include "music/PlaylistEditor.h"
#include "support/FakePlatform.h"

// Pictures of the real windows on a real X server, for a person to look at: the main window
// with each of its tabs, the splash, the About box, the Options window, the game picker and the
// playlist editor. Run under xvfb-run; tools/screenshots.sh also keeps small copies in
// docs/screenshots.
namespace velmor::app {

// The picture in 256 colours: its own most frequent ones, so that the flat areas of a window
// stay exact, beside a colour cube for the rest.
static QImage withOwnPalette(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            ++counts[line[x]];
        }
    }
    QList<QPair<int, QRgb>> byCount;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        byCount.append({it.value(), it.key()});
    }
    std::sort(byCount.begin(), byCount.end(), std::greater<>());
    // A colour cube for the rare colours (the logo's four dots), the rest for the common ones.
    QList<QRgb> palette;
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                palette.append(qRgb(r * 51, g * 51, b * 51));
            }
        }
    }
    for (qsizetype i = 0; i < byCount.size() && palette.size() < 256; ++i) {
        if (!palette.contains(byCount[i].second)) {
            palette.append(byCount[i].second);
        }
    }
    return rgb.convertToFormat(QImage::Format_Indexed8, palette, Qt::DiffuseDither);
}

// Shows the window, saves its picture and says where, so the run's log leads to it.
static void shoot(QWidget& window, const QString& name) {
    if (QGuiApplication::platformName() != "xcb") {
        GTEST_SKIP() << "needs an X server: run under xvfb-run";
    }
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(50);
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(VELMOR_SCREENSHOT_DIR)));
    const QString path = QStringLiteral(VELMOR_SCREENSHOT_DIR "/") + name + ".png";
    const QImage picture = window.grab().toImage();
    ASSERT_TRUE(picture.save(path)) << path.toStdString();
    qInfo("screenshot: %s", qPrintable(path));
    // For the README: a 256-colour copy, a few kilobytes instead of tens.
    const QString docs = qEnvironmentVariable("VELMOR_SCREENSHOT_DOCS");
    if (!docs.isEmpty()) {
        const QString copy = docs + '/' + name + ".png";
        ASSERT_TRUE(withOwnPalette(picture).save(copy, "PNG", 0)) << copy.toStdString();
    }
}

TEST(Screenshot, MainWindowAndEachTab) {
    test::FakePlatform fake;
    MainForm form(fake.platform);
    form.formLoad();  // the window as a first start shows it
    shoot(form.window(), QStringLiteral("form1"));
    auto* tabs = form.window().findChild<QTabWidget*>("SSTab1");
    for (int i = 0; !IsSkipped() && i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        const QString caption = tabs->tabText(i).trimmed().remove('\'').toLower();
        shoot(form.window(), QStringLiteral("form1-tab%1-%2").arg(i).arg(caption));
    }
}

TEST(Screenshot, SplashAndAboutBox) {
    dialogs::LoadingWindow splash;
    splash.setProgress(120);
    shoot(splash, QStringLiteral("loading"));
    dialogs::LoadingWindow about;
    about.showAsAbout();
    shoot(about, QStringLiteral("about"));
}

TEST(Screenshot, OptionsWindow) {
    test::FakePlatform fake;
    MainForm form(fake.platform);
    form.formLoad();
    form.record().screenSaver = true;
    form.record().closeSpc = true;
    form.window().show();
    form.window().findChild<QAction*>("Opt")->trigger();
    shoot(*form.window().findChild<dialogs::OptionsWindow*>(), QStringLiteral("options"));
}

TEST(Screenshot, GamePicker) {
    QTemporaryDir roms;
    for (const char* name : {"Super Game 2.smc", "super game 10.SFC", "Racer.zip", "notes.txt"}) {
        QFile(roms.filePath(name)).open(QIODevice::WriteOnly);
    }
    test::FakePlatform fake;
    MainForm form(fake.platform);
    form.formLoad();
    form.gamePicker().open(roms.path().toStdString());
    auto* picker = form.gamePicker().window();
    ASSERT_NE(picker, nullptr);
    QTest::qWait(200);  // the list is filled off the window's thread
    shoot(*picker, QStringLiteral("gameselect"));
}

TEST(Screenshot, PlaylistEditor) {
    test::FakePlatform fake;
    MainForm form(fake.platform);
    fake.fileDialogs.answers = {"/home/user/music/Chrono Trigger - Corridors of Time.spc",
                                "/home/user/music/caf\xe9.zst"};
    form.window().findChild<QPushButton*>("Command10")->click();
    music::PlayList& editor = *form.playlistEditor().window();
    for (int i = 0; i < 2; ++i) {
        editor.findChild<QPushButton*>("Command1")->click();
    }
    shoot(editor, QStringLiteral("playlist"));
}

}  // namespace velmor::app
