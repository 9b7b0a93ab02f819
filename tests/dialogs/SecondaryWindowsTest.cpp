#include <QAction>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include "dialogs/LoadingWindow.h"
#include "dialogs/OptionsWindow.h"
#include "support/FormTest.h"

namespace velmor::test {
namespace {

class SecondaryWindows : public FormTest {
  protected:
    void SetUp() override {
        form->formLoad();
        form->window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form->window()));
    }
    QWidget* options() {
        get<QAction>("Opt").trigger();
        return form->window().findChild<dialogs::OptionsWindow*>();
    }
    std::tuple<bool, bool, bool> boxes(QWidget* window) {
        const auto ticked = [window](const char* name) {
            return window->findChild<QCheckBox*>(name)->isChecked();
        };
        return {ticked("Check1"), ticked("Check2"), ticked("Check3")};
    }
    // Clicks every box where it takes a click (its centre may lie beside the box and text).
    static void tickAll(QWidget* window) {
        for (QCheckBox* box : window->findChildren<QCheckBox*>()) {
            QStyleOptionButton option;
            option.initFrom(box);
            QTest::mouseClick(
                box, Qt::LeftButton, {},
                box->style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, box).center());
        }
    }
    static bool gone(QPointer<QWidget> window) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.isNull();
    }
    std::tuple<bool, bool, bool> flags() {
        const auto& r = form->record();
        return {r.screenSaver, r.autoTab, r.closeSpc};
    }
};

// The first box shows the opposite of the screen saver setting. Only OK stores the boxes;
// Cancel, Escape and the close box store nothing. Chosen again while open, Options comes
// forward with the user's ticks kept.
TEST_F(SecondaryWindows, OptionsShowsTheSwitchesAndStoresThemOnlyOnOk) {
    form->record().screenSaver = form->record().autoTab = form->record().closeSpc = false;
    QWidget* window = options();
    EXPECT_EQ(boxes(window), std::tuple(true, false, false));
    tickAll(window);
    EXPECT_EQ(options(), window);
    QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    EXPECT_EQ(flags(), std::tuple(true, true, true));
    EXPECT_TRUE(gone(window));

    const std::vector<std::function<void(QWidget*)>> dismissals{
        [](QWidget* w) {
            QTest::mouseClick(w->findChild<QPushButton*>("Command2"), Qt::LeftButton);
        },
        [](QWidget* w) { QTest::keyClick(w->findChild<QCheckBox*>("Check3"), Qt::Key_Escape); },
        [](QWidget* w) { w->close(); },
    };
    for (const auto& dismiss : dismissals) {
        window = options();
        EXPECT_EQ(boxes(window), std::tuple(false, true, true));
        tickAll(window);
        dismiss(window);
        EXPECT_EQ(flags(), std::tuple(true, true, true));
        EXPECT_TRUE(gone(window));
    }
}

// About and Options leave the main window usable, and closing it ends the program with them
// still open.
TEST_F(SecondaryWindows, AboutAndOptionsLeaveTheMainWindowInCharge) {
    get<QAction>("About").trigger();
    QPointer<QWidget> about = form->about();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible() && about->height() == 123);  // 1850 twips
    QTest::mouseClick(about->findChild<QWidget*>("Label2"), Qt::LeftButton);
    EXPECT_TRUE(gone(about));

    get<QAction>("About").trigger();
    options();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QTimer keptAlive;  // the event loop still running after a while: the program did not end
    keptAlive.callOnTimeout([] { QCoreApplication::exit(1); });
    keptAlive.start(3000);
    QTimer::singleShot(0, &form->window(), &QWidget::close);
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

}  // namespace
}  // namespace velmor::test
