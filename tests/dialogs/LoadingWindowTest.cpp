#include <gtest/gtest.h>

#include <QProgressBar>
#include <QtTest>

#include "dialogs/LoadingWindow.h"

namespace velmor::dialogs {
namespace {

class LoadingWindowTest : public testing::Test {
  protected:
    void SetUp() override { splash.show(); }
    QWidget* child(const char* name) { return splash.findChild<QWidget*>(name); }

    LoadingWindow splash;
    QSignalSpy closed{&splash, &LoadingWindow::closed};
    QProgressBar* bar = splash.findChild<QProgressBar*>("ProgressBar1");
};

TEST_F(LoadingWindowTest, ClicksOutsideTheProgressPartsCloseIt) {
    QTest::mouseClick(child("Label1"), Qt::LeftButton);
    QTest::mouseClick(bar, Qt::LeftButton);
    EXPECT_TRUE(splash.isOpen());
    for (QWidget* part : {child("Image1"), child("Label2"), static_cast<QWidget*>(&splash)}) {
        splash.show();
        QTest::mouseClick(part, Qt::LeftButton, {}, part == &splash ? QPoint(100, 130) : QPoint());
        EXPECT_FALSE(splash.isOpen()) << part->objectName().toStdString();
    }
    EXPECT_EQ(closed.count(), 3);
}

// A fast start-up must not spend its time drawing the bar; no position is lost, and the end
// is shown at once.
TEST_F(LoadingWindowTest, TheBarIsRedrawnAtMostOnceAFrame) {
    QTest::qWait(40);
    splash.setProgress(120);
    EXPECT_EQ(bar->value(), 120);
    splash.setProgress(125);
    splash.setProgress(130);
    EXPECT_EQ(bar->value(), 120);
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == 130; }, 500));
    splash.setProgress(195);
    splash.setProgress(200);
    EXPECT_EQ(bar->value(), 200);
}

TEST_F(LoadingWindowTest, AboutModeShowsOnlyTheLogoAndVersion) {
    splash.showAsAbout();
    EXPECT_EQ(splash.height(), 123);  // 1850 twips
    EXPECT_FALSE(bar->isVisible() || child("Label1")->isVisible());
    EXPECT_TRUE(child("Image1")->isVisible() && child("Label2")->isVisible());
}

}  // namespace
}  // namespace velmor::dialogs
