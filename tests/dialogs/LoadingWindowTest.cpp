#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include "app/Geometry.h"
#include "dialogs/LoadingWindow.h"

namespace velmor::dialogs {
namespace {

using app::twipRect;
using app::twips;

class LoadingWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        splash->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(splash));
    }

    QWidget* child(const char* name) {
        auto* widget = splash->findChild<QWidget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // A finished click at the given place of the window, delivered as the system would:
    // to whatever lies there.
    void clickAt(QPoint place) {
        QWidget* target = splash->childAt(place);
        if (target == nullptr) {
            target = splash;
        }
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(splash, place));
    }

    QPointer<LoadingWindow> splash = new LoadingWindow;
    QSignalSpy closed{splash.data(), &LoadingWindow::closed};

    void TearDown() override { delete splash.data(); }
};

TEST_F(LoadingWindowTest, IsABorderlessTopmostSplashOfItsSize) {
    EXPECT_EQ(splash->objectName(), "Loading");
    const Qt::WindowFlags flags = splash->windowFlags();
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::SplashScreen) << "kept out of the task bar";
    EXPECT_TRUE(splash->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_FALSE(splash->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(splash->size(), QSize(twips(4608), twips(3048)));
    EXPECT_EQ(splash->palette().color(QPalette::Window), QColor(Qt::black));

    struct Place {
        const char* name;
        QRect rect;
    };
    for (const Place& p : {Place{"Image1", twipRect(120, 0, 4410, 1770)},
                           Place{"Label2", twipRect(2880, 1560, 1695, 255)},
                           Place{"ProgressBar1", twipRect(240, 2520, 4095, 255)},
                           // Lines, one pixel thick, both ends included.
                           Place{"Line1", QRect(QPoint(0, 200), QPoint(304, 200))},
                           Place{"Line2", QRect(QPoint(0, 0), QPoint(304, 0))},
                           Place{"Line3", QRect(QPoint(304, 0), QPoint(304, 200))},
                           Place{"Line4", QRect(QPoint(0, 0), QPoint(0, 200))}}) {
        EXPECT_EQ(child(p.name)->geometry(), p.rect) << p.name;
    }
    EXPECT_EQ(qobject_cast<QLabel*>(child("Label2"))->text(), "Version 0.5");
    EXPECT_TRUE(child("Label2")->font().bold());
    EXPECT_DOUBLE_EQ(child("Label2")->font().pointSizeF(), 12.0);
    EXPECT_EQ(qobject_cast<QLabel*>(child("Label1"))->text(),
              "Please wait while loading configuration");
    EXPECT_DOUBLE_EQ(child("Label1")->font().pointSizeF(), 9.6);
    // Its box may grow to the right where the font in use needs more room, never shrink.
    const QRect status = child("Label1")->geometry();
    EXPECT_EQ(status.topLeft(), twipRect(240, 2160, 2895, 255).topLeft());
    EXPECT_EQ(status.height(), twips(255));
    EXPECT_GE(status.width(), twips(2895));
    EXPECT_GE(status.width(), child("Label1")->fontMetrics().horizontalAdvance(
                                  "Please wait while loading configuration"));
    EXPECT_LE(status.right(), splash->width());
    for (const char* name : {"Label1", "Label2"}) {
        const QWidget* label = child(name);
        EXPECT_EQ(label->palette().color(label->foregroundRole()), QColor(Qt::white)) << name;
    }
    EXPECT_TRUE(qobject_cast<QLabel*>(child("Image1"))->hasScaledContents());
    EXPECT_FALSE(qobject_cast<QLabel*>(child("Image1"))->pixmap().isNull());
}

TEST_F(LoadingWindowTest, ProgressStaysWithinItsRange) {
    auto* bar = qobject_cast<QProgressBar*>(child("ProgressBar1"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 200);
    splash->setProgress(250);
    EXPECT_EQ(splash->progress(), 200);
    EXPECT_EQ(bar->value(), 200);
    splash->setProgress(-3);
    EXPECT_EQ(splash->progress(), 0);
}

// The bar shows a new position at most once a frame, so a fast start-up does not spend its
// time drawing it; no position is lost, and the end is shown at once.
TEST_F(LoadingWindowTest, TheBarIsRedrawnAtMostOnceAFrame) {
    auto* bar = qobject_cast<QProgressBar*>(child("ProgressBar1"));
    ASSERT_NE(bar, nullptr);
    QTest::qWait(40);
    splash->setProgress(120);
    EXPECT_EQ(bar->value(), 120);
    splash->setProgress(125);
    splash->setProgress(130);
    EXPECT_EQ(splash->progress(), 130);
    EXPECT_EQ(bar->value(), 120);
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == 130; }, 500));
    splash->setProgress(195);
    splash->setProgress(200);
    EXPECT_EQ(bar->value(), 200);
}

TEST_F(LoadingWindowTest, ClicksOnTheProgressPartsLeaveItOpen) {
    clickAt(child("Label1")->geometry().center());
    clickAt(child("ProgressBar1")->geometry().center());
    EXPECT_TRUE(splash->isOpen());
    EXPECT_EQ(closed.count(), 0);
}

struct ClosingClick {
    const char* where;
    QPoint place;  // in the window
};

class ClosingClicks : public LoadingWindowTest, public testing::WithParamInterface<ClosingClick> {};

TEST_P(ClosingClicks, CloseItWithoutDestroyingIt) {
    clickAt(GetParam().place);
    EXPECT_FALSE(splash->isOpen());
    EXPECT_EQ(closed.count(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(splash.isNull()) << "its owner decides when it goes";
}

INSTANTIATE_TEST_SUITE_P(Splash, ClosingClicks,
                         testing::Values(ClosingClick{"background", QPoint(250, 150)},
                                         ClosingClick{"logo", QPoint(60, 60)},
                                         ClosingClick{"version text", QPoint(220, 112)},
                                         ClosingClick{"frame line", QPoint(0, 100)}),
                         [](const auto& info) {
                             std::string name = info.param.where;
                             std::erase(name, ' ');
                             return name;
                         });

TEST_F(LoadingWindowTest, AboutModeShowsOnlyTheLogoAndVersion) {
    splash->hide();
    splash->showAsAbout();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash));
    EXPECT_EQ(splash->height(), twips(1850));
    EXPECT_EQ(splash->width(), twips(4608));
    EXPECT_EQ(child("Line1")->geometry(), QRect(QPoint(0, 121), QPoint(304, 121)));
    EXPECT_TRUE(child("Line1")->isVisible());
    EXPECT_FALSE(child("ProgressBar1")->isVisible());
    EXPECT_FALSE(child("Label1")->isVisible());
    EXPECT_TRUE(child("Image1")->isVisible());
    EXPECT_TRUE(child("Label2")->isVisible());

    clickAt(child("Label2")->geometry().center());
    EXPECT_FALSE(splash->isOpen());
    EXPECT_EQ(closed.count(), 1);
}

}  // namespace
}  // namespace velmor::dialogs
