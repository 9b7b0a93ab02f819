#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <algorithm>
#include <tuple>

#include "app/MainWindow.h"
#include "app/WidgetHolders.h"
#include "settings/Controls.h"
#include "widgets/ClickSlider.h"
#include "widgets/EditableList.h"
#include "widgets/FitLabel.h"
#include "widgets/PictureButton.h"

namespace velmor::app {
namespace {

using controls::Kind;

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The class the window makes each kind of control as.
const QMetaObject* classOf(Kind kind) {
    // clang-format off
    switch (kind) {
        case Kind::PictureButton: return &widgets::PictureButton::staticMetaObject;
        case Kind::PushButton: return &QPushButton::staticMetaObject;
        case Kind::CheckBox: return &QCheckBox::staticMetaObject;
        case Kind::OptionButton: return &QRadioButton::staticMetaObject;
        case Kind::ComboBox: return &widgets::EditableList::staticMetaObject;
        case Kind::DropDownList: return &QComboBox::staticMetaObject;
        case Kind::TextBox: return &QLineEdit::staticMetaObject;
        case Kind::Label: case Kind::Picture: return &QLabel::staticMetaObject;
        case Kind::FittedLabel: return &widgets::FitLabel::staticMetaObject;
        case Kind::Frame: return &QGroupBox::staticMetaObject;
        case Kind::Slider: return &widgets::ClickSlider::staticMetaObject;
        case Kind::TabControl: return &QTabWidget::staticMetaObject;
        case Kind::Menu: return &QMenu::staticMetaObject;
        case Kind::MenuItem: case Kind::MenuSeparator: return &QAction::staticMetaObject;
    }
    // clang-format on
    return nullptr;
}

class MainWindowTest : public testing::Test {
  protected:
    template <class T = QWidget>
    T* at(const char* name) {
        return window.findChild<T*>(name);
    }

    MainWindow window;
};

// The start-up, the save and every handler find the controls by their names in the control
// table: each must be there once, of its kind, with its items, range and first text, and the
// window must have no control of those kinds that the table does not know.
TEST_F(MainWindowTest, MatchesTheControlTable) {
    for (const controls::Control* control : controls::kAll) {
        const auto found = window.findChildren<QObject*>(qt(control->name));
        if (found.size() != 1 || found[0]->metaObject() != classOf(control->kind)) {
            ADD_FAILURE() << control->name << " is no single "
                          << classOf(control->kind)->className();
            continue;
        }
        QStringList items;
        for (const std::string_view item : control->items) {
            items << qt(item);
        }
        if (const auto* list = qobject_cast<QComboBox*>(found[0])) {
            QStringList shown;
            for (int i = 0; i < list->count(); ++i) {
                shown << list->itemText(i);
            }
            EXPECT_EQ(shown, control->itemsAtStartUp ? QStringList() : items) << control->name;
            EXPECT_FALSE(control->kind == Kind::DropDownList && list->isEditable())
                << control->name;
        } else if (const auto* slider = qobject_cast<QSlider*>(found[0])) {
            const controls::Range& r = control->range;
            EXPECT_EQ(
                std::tuple(slider->minimum(), slider->maximum(), slider->tickInterval(),
                           slider->singleStep(), slider->pageStep(), slider->value()),
                std::tuple(r.minimum, r.maximum, r.tickInterval, r.smallStep, r.largeStep, r.start))
                << control->name;
        } else if (const auto* box = qobject_cast<QLineEdit*>(found[0])) {
            EXPECT_EQ(box->text(), qt(control->text)) << control->name;
        }
    }
    for (QObject* child : window.findChildren<QObject*>()) {
        const QString name = child->objectName();
        const bool kindOfControl = std::ranges::any_of(controls::kAll, [child](const auto* c) {
            return child->metaObject() == classOf(c->kind);
        });
        EXPECT_TRUE(!kindOfControl || name.isEmpty() || name.startsWith("qt_") ||
                    controls::find(name.toStdString()) != nullptr)
            << name.toStdString() << " is not in the control table";
    }
}

// A holder the window does not have, or one asked for state of another kind, is a fault of the
// program: it throws rather than reading as 0 or "".
TEST_F(MainWindowTest, ItsHoldersRefuseNamesTheyDoNotKnow) {
    settings::SettingsRecord record;
    WidgetHolders holders(window, record);
    EXPECT_THROW(holders.boxState("Chek1"), std::logic_error);
    EXPECT_THROW(holders.setText("Label99", "x"), std::logic_error);
    EXPECT_THROW(holders.listIndex(controls::kText1), std::logic_error);
    EXPECT_THROW(holders.flag(controls::kCheck1), std::logic_error);
    EXPECT_EQ(holders.text(controls::kText2) + holders.text(settings::record::kRomPath), "30");
}

TEST_F(MainWindowTest, HasItsOptionGroupsTabsAndCaptions) {
    // Colour depth, video mode and resolution are separate settings: one choice in each group.
    for (const char* name : {"Option3", "Option5", "Option7", "Option8"}) {
        at<QRadioButton>(name)->setChecked(true);
    }
    EXPECT_EQ(std::ranges::count_if(window.findChildren<QRadioButton*>(), &QRadioButton::isChecked),
              3);

    // Texts that look like slips but are what the program and its stored settings rely on.
    auto* tabs = at<QTabWidget>("SSTab1");
    QStringList texts{tabs->tabText(controls::kMusicTab), tabs->tabText(controls::kPicturesTab)};
    for (const char* name : {"Command12", "Command3", "Label7", "Label14", "Label13"}) {
        texts << at(name)->property("text").toString();
    }
    EXPECT_EQ(texts, QStringList({"Sonara ", "Pictara's", "Configure Iput", "Configure Input", "",
                                  "Frame Skip", "Gamma Correction"}));
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
