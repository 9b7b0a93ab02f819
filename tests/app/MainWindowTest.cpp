#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "app/MainWindow.h"
#include "widgets/ClickSlider.h"
#include "widgets/EditableList.h"
#include "widgets/FitLabel.h"
#include "widgets/PictureButton.h"

namespace velmor::app {
namespace {

using widgets::ClickSlider;
using widgets::EditableList;
using widgets::FitLabel;
using widgets::PictureButton;

class MainWindowTest : public testing::Test {
  protected:
    template <class T = QWidget>
    T* at(const char* name) {
        return window.findChild<T*>(name);
    }
    // Each of the space-separated names is that of exactly one control, of class T itself.
    template <class T>
    void expectKind(const QString& names) {
        for (const QString& name : names.split(' ')) {
            const auto found = window.findChildren<QWidget*>(name);
            EXPECT_TRUE(found.size() == 1 && found[0]->metaObject() == &T::staticMetaObject)
                << name.toStdString() << " is no single " << T::staticMetaObject.className();
        }
    }

    MainWindow window;
};

// The start-up and the save find the controls by name and kind: a renamed control or one of
// another kind silently drops a setting.
TEST_F(MainWindowTest, MatchesItsDescription) {
    for (int i = 1; i <= 19; ++i) {
        expectKind<QCheckBox>(QStringLiteral("Check%1").arg(i));
    }
    expectKind<QRadioButton>("Option3 Option4 Option5 Option6 Option7 Option8 Option11 Option12");
    expectKind<EditableList>("LinkPaths P1input P2input Combo2 Combo3 MusicList");
    expectKind<QLineEdit>("Paths Text1 Text2");
    expectKind<QLabel>("GmLabel Label6 Label7 Label12 Label15 PicStatus Image1 Image2 Image3");
    expectKind<FitLabel>("Label2 Label8 Label10 Label11 Label13 Label14 Label16 Label17 Label19");
    expectKind<QGroupBox>("Frame1 Frame2 Frame3 Frame4 Frame5 Frame6 Frame7 Frame8 Frame10");
    expectKind<QPushButton>(
        "Command3 Command4 Command6 Command9 Command10 Command11 Command12 Command13 Command14 "
        "Command15");
    expectKind<PictureButton>("Command1 Command2");
    expectKind<ClickSlider>("Slider1 Slider2 Slider3");
    expectKind<QComboBox>("Combo1 Combo4");  // drop-down lists, which cannot be typed in
    EXPECT_FALSE(at<QComboBox>("Combo1")->isEditable() || at<QComboBox>("Combo4")->isEditable());

    // Colour depth, video mode and resolution are separate settings: one choice in each group.
    for (const char* name : {"Option3", "Option5", "Option7", "Option8"}) {
        at<QRadioButton>(name)->setChecked(true);
    }
    EXPECT_EQ(std::ranges::count_if(window.findChildren<QRadioButton*>(), &QRadioButton::isChecked),
              3);

    // Texts that look like slips but are what the program and its stored settings rely on.
    EXPECT_EQ(at<QComboBox>("Combo1")->count(), 0) << "the start-up fills it";
    auto* tabs = at<QTabWidget>("SSTab1");
    QStringList texts{at<QComboBox>("LinkPaths")->itemText(3), tabs->tabText(5), tabs->tabText(6)};
    for (const char* name : {"Command12", "Command3", "Label7", "Label14", "Label13"}) {
        texts << at(name)->property("text").toString();
    }
    EXPECT_EQ(texts, QStringList({"SPCPlay Executable ", "Sonara ", "Pictara's", "Configure Iput",
                                  "Configure Input", "", "Frame Skip", "Gamma Correction"}));
}

TEST_F(MainWindowTest, HasItsSizeAndMenusAndClosesUnconditionally) {
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    QString menus;
    for (QAction* top : window.menuBar()->actions()) {
        menus += top->menu()->objectName() + ':';
        for (QAction* item : top->menu()->actions()) {
            menus += (item->isSeparator() ? QStringLiteral("-") : item->objectName()) + ' ';
        }
    }
    EXPECT_EQ(menus, "File:Exit Preferences:Opt RegFiles - SaveSettings Help:About ");

    QSignalSpy unload(&window, &MainWindow::queryUnload);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.centralWidget()->size(), QSize(376, 246));
    EXPECT_TRUE(window.close());
    EXPECT_EQ(unload.count(), 1);
}

}  // namespace
}  // namespace velmor::app
