#include <QAction>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include "app/FormTestSupport.h"
#include "dialogs/LoadingWindow.h"
#include "dialogs/OptionsWindow.h"

namespace velmor::test {
namespace {

class SecondaryWindows : public FormTest {
  protected:
    void SetUp() override {
        form->formLoad();
        form->window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form->window()));
    }
    void choose(const char* item) { get<QAction>(item).trigger(); }
    dialogs::OptionsWindow* options() {
        choose("Opt");
        return form->window().findChild<dialogs::OptionsWindow*>();
    }
    static QCheckBox& check(QWidget* window, const char* name) {
        return *window->findChild<QCheckBox*>(name);
    }
    // A click where the box takes it: its centre can lie beside the box and its text.
    static void tick(QWidget* window, const char* name) {
        QCheckBox& box = check(window, name);
        QStyleOptionButton option;
        option.initFrom(&box);
        const QRect area = box.style()->subElementRect(QStyle::SE_CheckBoxClickRect, &option, &box);
        QTest::mouseClick(&box, Qt::LeftButton, {}, area.center());
    }
    // The window has closed and gone.
    static bool gone(QPointer<QWidget> window) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.isNull();
    }
    std::tuple<bool, bool, bool> flags() {
        return {form->record().screenSaver, form->record().autoTab, form->record().closeSpc};
    }
};

// The first box shows the opposite of the screen saver setting; the others show theirs.
TEST_F(SecondaryWindows, OptionsOpensFilledFromTheSettings) {
    for (const bool on : {true, false}) {
        form->record().screenSaver = form->record().autoTab = form->record().closeSpc = on;
        dialogs::OptionsWindow* window = options();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible() && !window->isModal());
        EXPECT_TRUE(window->windowFlags() & Qt::Tool);
        EXPECT_EQ(window->size(), QSize(251, 121));  // 3768 x 1812 twips
        EXPECT_EQ(check(window, "Check1").isChecked(), !on);
        EXPECT_EQ(check(window, "Check2").isChecked(), on);
        EXPECT_EQ(check(window, "Check3").isChecked(), on);
        window->close();
        EXPECT_TRUE(gone(window));
    }
}

TEST_F(SecondaryWindows, OptionsStoresOnlyOnOk) {
    form->record().autoTab = false;
    form->record().screenSaver = form->record().closeSpc = true;
    dialogs::OptionsWindow* window = options();
    tick(window, "Check1");
    tick(window, "Check2");
    // Chosen again while open: the same window, the user's ticks kept.
    EXPECT_EQ(options(), window);
    EXPECT_TRUE(check(window, "Check1").isChecked() && check(window, "Check2").isChecked());
    QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    EXPECT_EQ(flags(), std::tuple(false, true, true));
    EXPECT_TRUE(gone(window));

    const std::vector<std::function<void(QWidget*)>> dismissals{
        [](QWidget* w) { w->findChild<QPushButton*>("Command2")->click(); },
        [](QWidget* w) { QTest::keyClick(&check(w, "Check3"), Qt::Key_Escape); },
        [](QWidget* w) { w->close(); },  // the close box
    };
    for (const auto& dismiss : dismissals) {
        window = options();
        for (const char* name : {"Check1", "Check2", "Check3"}) {
            tick(window, name);
        }
        dismiss(window);
        EXPECT_EQ(flags(), std::tuple(false, true, true));
        EXPECT_TRUE(gone(window));
    }
}

// About and Options are modeless companions of the main window: it stays usable, and closing
// it ends the program with them still open.
TEST_F(SecondaryWindows, AboutAndOptionsLeaveTheMainWindowInCharge) {
    choose("About");
    dialogs::LoadingWindow* about = form->about();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible() && !about->isModal());
    EXPECT_EQ(about->height(), 123);  // 1850 twips
    EXPECT_FALSE(about->findChild<QWidget*>("ProgressBar1")->isVisible());
    choose("About");
    EXPECT_EQ(form->about(), about);
    QTest::mouseClick(about->findChild<QWidget*>("Label2"), Qt::LeftButton);
    EXPECT_EQ(form->about(), nullptr);
    EXPECT_TRUE(gone(about));

    choose("About");
    options();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The program's end, as its event loop sees it; a loop still running after a while has
    // been kept alive by one of them.
    QTimer keptAlive;
    keptAlive.setSingleShot(true);
    QObject::connect(&keptAlive, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    keptAlive.start(3000);
    QTimer::singleShot(0, &form->window(), &QWidget::close);
    EXPECT_EQ(QCoreApplication::exec(), 0);
}

// "Configure Input" and "Configure Iput" have no action.
TEST_F(SecondaryWindows, ConfigureInputButtonsDoNothing) {
    const auto before = flags();
    const auto windows = QApplication::topLevelWidgets();
    fake.log.clear();
    for (const char* name : {"Command3", "Command12"}) {
        QTest::mouseClick(&get<QPushButton>(name), Qt::LeftButton);
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(fake.log.empty());
    EXPECT_EQ(flags(), before);
    EXPECT_EQ(QApplication::topLevelWidgets(), windows);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace velmor::test
