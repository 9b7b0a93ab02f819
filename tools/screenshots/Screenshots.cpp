// Takes pictures of the real windows on a real X server, for a person to look at: the main window
// with each of its tabs, the splash, the About box, the Options window, the game picker and the
// playlist editor, into build/screenshots. With VELMOR_SCREENSHOT_DOCS naming a folder it also
// keeps small copies there for the README. Run by tools/screenshots.sh under Xvfb; exits
// non-zero when a picture could not be taken or saved.

#include <QtTest>
#include <QtWidgets>
#include <cstdio>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "dialogs/LoadingWindow.h"
#include "dialogs/OptionsWindow.h"
#include "launch/GameSelect.h"
#include "music/PlaylistEditor.h"
#include "support/FakePlatform.h"

namespace velmor::app {
namespace {

// The picture in 256 colours: its own most frequent ones, so that the flat areas of a window
// stay exact, beside a colour cube for the rest.
QImage withOwnPalette(const QImage& picture) {
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

// Shows the window and saves its picture, saying where, so the run's log leads to it.
bool shoot(QWidget& window, const QString& name) {
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "screenshots: %s was never shown\n", qPrintable(name));
        return false;
    }
    QTest::qWait(50);
    const QString path = QStringLiteral(VELMOR_SCREENSHOT_DIR "/") + name + ".png";
    const QImage picture = window.grab().toImage();
    bool saved = QDir().mkpath(QStringLiteral(VELMOR_SCREENSHOT_DIR)) && picture.save(path);
    std::printf("screenshot: %s\n", qPrintable(path));
    // For the README: a 256-colour copy, a few kilobytes instead of tens.
    const QString docs = qEnvironmentVariable("VELMOR_SCREENSHOT_DOCS");
    if (!docs.isEmpty()) {
        saved = withOwnPalette(picture).save(docs + '/' + name + ".png", "PNG", 0) && saved;
    }
    if (!saved) {
        std::fprintf(stderr, "screenshots: %s could not be saved\n", qPrintable(name));
    }
    return saved;
}

bool mainWindowAndEachTab() {
    test::FakePlatform fake;
    MainForm form(fake.platform);
    form.formLoad();  // the window as a first start shows it
    bool ok = shoot(form.window(), QStringLiteral("form1"));
    auto* tabs = form.window().findChild<QTabWidget*>("SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        const QString caption = tabs->tabText(i).trimmed().remove('\'').toLower();
        ok = shoot(form.window(), QStringLiteral("form1-tab%1-%2").arg(i).arg(caption)) && ok;
    }
    return ok;
}

bool splashAndAboutBox() {
    dialogs::LoadingWindow splash;
    splash.setProgress(120);
    const bool ok = shoot(splash, QStringLiteral("loading"));
    dialogs::LoadingWindow about;
    about.showAsAbout();
    return shoot(about, QStringLiteral("about")) && ok;
}

bool optionsWindow() {
    test::FakePlatform fake;
    MainForm form(fake.platform);
    form.formLoad();
    form.record().screenSaver = true;
    form.record().closeSpc = true;
    form.window().show();
    form.window().findChild<QAction*>("Opt")->trigger();
    return shoot(*form.window().findChild<dialogs::OptionsWindow*>(), QStringLiteral("options"));
}

bool gamePicker() {
    QTemporaryDir roms;
    for (const char* name : {"Super Game 2.smc", "super game 10.SFC", "Racer.zip", "notes.txt"}) {
        QFile(roms.filePath(name)).open(QIODevice::WriteOnly);
    }
    test::FakePlatform fake;
    MainForm form(fake.platform);
    form.formLoad();
    form.gamePicker().open(roms.path().toStdString());
    auto* picker = form.gamePicker().window();
    // The list is filled off the window's thread; the window has the focus, as a user sees it.
    if (picker == nullptr || !QTest::qWaitFor([picker] { return picker->isFilled(); })) {
        return false;
    }
    QTest::qWait(200);
    return shoot(*picker, QStringLiteral("gameselect"));
}

bool playlistEditor() {
    test::FakePlatform fake;
    MainForm form(fake.platform);
    fake.fileDialogs.answers = {"/home/user/music/Chrono Trigger - Corridors of Time.spc",
                                "/home/user/music/caf\xe9.zst"};
    form.window().findChild<QPushButton*>("Command10")->click();
    music::PlayList& editor = *form.playlistEditor().window();
    for (int i = 0; i < 2; ++i) {
        editor.findChild<QPushButton*>("Command1")->click();
    }
    return shoot(editor, QStringLiteral("playlist"));
}

}  // namespace
}  // namespace velmor::app

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (QGuiApplication::platformName() != "xcb") {
        std::fprintf(stderr, "screenshots: needs an X server: run under xvfb-run\n");
        return 1;
    }
    using namespace velmor::app;
    bool ok = mainWindowAndEachTab();
    ok = splashAndAboutBox() && ok;
    ok = optionsWindow() && ok;
    ok = gamePicker() && ok;
    ok = playlistEditor() && ok;
    return ok ? 0 : 1;
}
