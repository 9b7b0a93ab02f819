#include <gtest/gtest.h>

#include <QDir>
#include <QTabWidget>
#include <QTest>
#include <cstdlib>
#include <iostream>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "dialogs/LoadingWindow.h"
#include "support/FakePlatform.h"

// Pictures of the real windows on a real X server, for a person to look at: the main window
// with each of its tabs, the splash and the About box. Run under xvfb-run.
namespace velmor::app {
namespace {

class Screenshot : public testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr || QGuiApplication::platformName() != "xcb") {
            GTEST_SKIP() << "needs an X server: run under xvfb-run";
        }
        ASSERT_TRUE(QDir().mkpath(directory));
    }

    // Saves the picture and says where, so the run's log leads to it.
    void save(const QPixmap& picture, const QString& name) {
        ASSERT_FALSE(picture.isNull()) << name.toStdString();
        const QString path = QDir(directory).filePath(name + ".png");
        ASSERT_TRUE(picture.save(path)) << path.toStdString();
        std::cout << "screenshot: " << path.toStdString() << std::endl;
    }

    const QString directory = QStringLiteral(VELMOR_SCREENSHOT_DIR);
};

TEST_F(Screenshot, MainWindowAndEachTab) {
    test::FakePlatform fake;
    MainForm form(fake.platform);
    form.formLoad();  // the window as a first start shows it
    MainWindow& window = form.window();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* tabs = window.findChild<QTabWidget*>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    save(window.grab(), QStringLiteral("form1"));
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QTest::qWait(50);
        const QString caption = tabs->tabText(i).trimmed().remove('\'');
        save(window.grab(), QStringLiteral("form1-tab%1-%2").arg(i).arg(caption.toLower()));
    }
}

TEST_F(Screenshot, SplashAndAboutBox) {
    dialogs::LoadingWindow splash;
    splash.setProgress(120);
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    save(splash.grab(), QStringLiteral("loading"));
    splash.close();

    dialogs::LoadingWindow about;
    about.showAsAbout();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    save(about.grab(), QStringLiteral("about"));
}

}  // namespace
}  // namespace velmor::app
