#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "app/ClickSlider.h"
#include "app/FitLabel.h"
#include "app/Geometry.h"
#include "app/MainWindow.h"
#include "app/PictureButton.h"

namespace velmor::app {
namespace {

QColor textColour(const QWidget* widget) {
    return widget->palette().color(widget->foregroundRole());
}

QColor backColour(const QWidget* widget) {
    return widget->palette().color(widget->backgroundRole());
}

TEST(MainWindow, IsTheVelmorWindowWithItsClientArea) {
    MainWindow window;
    EXPECT_EQ(window.objectName(), "Form1");
    EXPECT_EQ(window.windowTitle(), "Velmor");
    EXPECT_FALSE(window.windowIcon().isNull());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(window.minimumSize(), window.maximumSize()) << "the window stays resizable";

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.centralWidget()->size(), QSize(twips(5640), twips(3696)));
    auto* tabs = window.findChild<QTabWidget*>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->currentIndex(), 0);
}

TEST(MainWindow, TabsHaveTheirCaptionsInOneRow) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* tabs = window.findChild<QTabWidget*>("SSTab1");
    ASSERT_NE(tabs, nullptr);
    const QStringList expected{"Paths",   "Sound",   "Video",    "Controls",
                               "Options", "Sonara ", "Pictara's"};
    ASSERT_EQ(tabs->count(), expected.size());
    const QTabBar* bar = tabs->tabBar();
    for (int i = 0; i < tabs->count(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tabs->tabText(i), expected[i]);
        const QRect tab = bar->tabRect(i);
        EXPECT_EQ(tab.height(), twips(420));
        EXPECT_EQ(tab.top(), bar->tabRect(0).top()) << "one row";
        EXPECT_LE(bar->mapTo(tabs, tab.bottomRight()).x(), tabs->width()) << "no scrolling";
        // Every caption fits its tab uncut.
        EXPECT_GE(tab.width(), bar->fontMetrics().horizontalAdvance(expected[i]));
    }
}

TEST(MainWindow, MenusHoldTheirItemsInOrder) {
    MainWindow window;
    const QList<QAction*> top = window.menuBar()->actions();
    ASSERT_EQ(top.size(), 3);
    struct Item {
        const char* name;
        const char* caption;
    };
    const auto check = [&](QAction* menuAction, const char* name, const char* title,
                           std::initializer_list<Item> items) {
        SCOPED_TRACE(name);
        QMenu* menu = menuAction->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->objectName(), name);
        EXPECT_EQ(menu->title(), title);
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size()));
        qsizetype i = 0;
        for (const Item& item : items) {
            QAction* action = actions[i++];
            EXPECT_EQ(action->objectName(), item.name);
            if (QStringLiteral("separator") == item.name) {
                EXPECT_TRUE(action->isSeparator());
            } else {
                EXPECT_FALSE(action->isSeparator());
                EXPECT_EQ(action->text(), item.caption);
            }
        }
    };
    check(top[0], "File", "File", {{"Exit", "Exit"}});
    check(top[1], "Preferences", "Preferences",
          {{"Opt", "Options"},
           {"RegFiles", "Register Filetypes"},
           {"separator", ""},
           {"SaveSettings", "Save Settings Now"}});
    check(top[2], "Help", "Help", {{"About", "About"}});
    // The program's handlers find the items by name from the window.
    for (const char* name : {"Exit", "Opt", "RegFiles", "SaveSettings", "About"}) {
        EXPECT_NE(window.findChild<QAction*>(name), nullptr) << name;
    }
}

// Texts that look like slips but are what the program and its stored settings rely on.
TEST(MainWindow, KeepsItsOddCaptionsExactly) {
    MainWindow window;
    auto* paths = window.findChild<QComboBox*>("LinkPaths");
    ASSERT_NE(paths, nullptr);
    EXPECT_EQ(paths->itemText(3), "SPCPlay Executable ");
    EXPECT_EQ(window.findChild<QTabWidget*>("SSTab1")->tabText(5), "Sonara ");
    EXPECT_EQ(window.findChild<QPushButton*>("Command12")->text(), "Configure Iput");
    EXPECT_EQ(window.findChild<QPushButton*>("Command3")->text(), "Configure Input");
    EXPECT_EQ(window.findChild<QComboBox*>("Combo1")->count(), 0) << "the start-up fills it";
    EXPECT_EQ(window.findChild<QLabel*>("Label7")->text(), "");
}

TEST(MainWindow, ColoursAndFonts) {
    MainWindow window;
    const auto find = [&](const char* name) {
        auto* widget = window.findChild<QWidget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    };
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(window.palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(textColour(find("Label8")), QColor(Qt::white));
    EXPECT_FALSE(find("Label8")->autoFillBackground()) << "the version text is see-through";

    // The black must not leak into the grey tabs or the menus.
    EXPECT_NE(textColour(find("Check1")), QColor(Qt::white));
    EXPECT_NE(backColour(find("SSTab1")), QColor(Qt::black));
    EXPECT_NE(backColour(window.menuBar()), QColor(Qt::black));

    // The music page is black with white labels.
    EXPECT_EQ(backColour(find("Frame6")), QColor(Qt::black));
    EXPECT_TRUE(find("Frame6")->autoFillBackground());
    for (const char* name : {"Label17", "Label6", "Label10"}) {
        EXPECT_EQ(textColour(find(name)), QColor(Qt::white)) << name;
    }

    // The current game sits in a bordered field of the window-background colour.
    auto* game = qobject_cast<QLabel*>(find("GmLabel"));
    EXPECT_TRUE(game->autoFillBackground());
    EXPECT_EQ(backColour(game), QApplication::palette().color(QPalette::Base));
    EXPECT_NE(textColour(game), backColour(game));
    EXPECT_EQ(game->frameShape(), QFrame::Box);

    EXPECT_DOUBLE_EQ(find("Check12")->font().pointSizeF(), 8.0);
    EXPECT_DOUBLE_EQ(find("Label6")->font().pointSizeF(), 12.0);
    EXPECT_TRUE(find("Label6")->font().bold());
    EXPECT_TRUE(qobject_cast<QLabel*>(find("Label6"))->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(qobject_cast<QLabel*>(find("PicStatus"))->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(qobject_cast<QLabel*>(find("Image3"))->hasScaledContents());
    EXPECT_TRUE(qobject_cast<QLabel*>(find("Image2"))->hasScaledContents());
}

TEST(MainWindow, ClosingAnnouncesItselfAndIsNeverRefused) {
    MainWindow window;
    QSignalSpy unload(&window, &MainWindow::queryUnload);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(window.close());
    EXPECT_EQ(unload.count(), 1);
    EXPECT_FALSE(window.isVisible());

    // Even a close event that arrives already refused ends accepted.
    QCloseEvent event;
    event.ignore();
    QApplication::sendEvent(&window, &event);
    EXPECT_TRUE(event.isAccepted());
    EXPECT_EQ(unload.count(), 2);
}

TEST(ClickSlider, ReportsAClickAfterTheValueHasSettled) {
    ClickSlider slider;
    slider.setRange(0, 10);
    slider.setPageStep(5);
    slider.setValue(0);
    slider.resize(200, 24);
    slider.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&slider));

    std::vector<int> seen;
    QObject::connect(&slider, &ClickSlider::clicked, [&] { seen.push_back(slider.value()); });

    // A click right of the thumb pages towards it; the click reports the moved value.
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(190, 12));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_GT(seen[0], 0);
    EXPECT_EQ(seen[0], slider.value());

    // Moving by keys or by program is not a click.
    QTest::keyClick(&slider, Qt::Key_Left);
    slider.setValue(3);
    EXPECT_EQ(seen.size(), 1u);

    // A release without a press of its own is not a click either.
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(10, 12));
    EXPECT_EQ(seen.size(), 1u);
}

TEST(PictureButton, ShowsItsSecondPictureWhileHeldDown) {
    QPixmap face(40, 20);
    face.fill(Qt::green);
    QPixmap pressed(40, 20);
    pressed.fill(Qt::red);
    PictureButton button;
    button.setPictures(face, pressed);
    button.resize(80, 40);  // the pictures stretch to the button
    const QPoint middle(40, 20);
    EXPECT_EQ(button.grab().toImage().pixelColor(middle), QColor(Qt::green));
    button.setDown(true);
    EXPECT_EQ(button.grab().toImage().pixelColor(middle), QColor(Qt::red));
    button.setDown(false);
    EXPECT_EQ(button.grab().toImage().pixelColor(middle), QColor(Qt::green));
}

TEST(FitLabel, FollowsItsTextFromItsCorner) {
    QWidget parent;
    parent.resize(300, 100);
    auto* label = new FitLabel(QStringLiteral("Frame Skip"), &parent);
    label->move(20, 30);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    const int before = label->width();
    EXPECT_GE(before, label->fontMetrics().horizontalAdvance("Frame Skip"));

    label->setText(QStringLiteral("Frame Skip:  10"));
    QTRY_VERIFY(label->width() >= label->fontMetrics().horizontalAdvance("Frame Skip:  10"));
    EXPECT_GT(label->width(), before);
    EXPECT_EQ(label->pos(), QPoint(20, 30));

    label->setText(QStringLiteral("F"));
    QTRY_VERIFY(label->width() < before);
}

TEST(MainWindow, PictureButtonsCarryDistinctFacesOfTheirSize) {
    MainWindow window;
    for (const char* name : {"Command1", "Command2"}) {
        SCOPED_TRACE(name);
        auto* button = window.findChild<PictureButton*>(name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->face().size(), button->size());
        EXPECT_NE(button->face().toImage(), button->pressedPicture().toImage());
        EXPECT_TRUE(button->text().isEmpty());
    }
}

}  // namespace
}  // namespace velmor::app
