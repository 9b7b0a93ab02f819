#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <vector>

#include "app/ClickSlider.h"
#include "app/EditableList.h"
#include "app/FitLabel.h"
#include "app/Geometry.h"
#include "app/MainWindow.h"
#include "app/PictureButton.h"

// The main window checked against its description: every control by name, with its kind,
// container, caption, tool tip, place and list items.
namespace velmor::app {
namespace {

enum class Kind {
    CheckBox,
    OptionButton,
    ComboBox,      // editable list
    DropDownList,  // list that cannot be typed in
    TextBox,
    Label,
    SizedLabel,  // a label sized to its text: the place gives only its top left corner
    Frame,
    Picture,
    PushButton,
    PictureButton,
    Slider,
};

struct Row {
    const char* name;
    Kind kind;
    // Object name of the container; "Form1" is the window's client area and "Tab3" the page of
    // the tab at that index.
    const char* container;
    QString caption;
    QString toolTip;
    int left, top, width, height;  // twips, as described
    QStringList items = {};
};

const QStringList kDevices{"Disable",
                           "Keyboard",
                           "Joystick",
                           "4 Button Gamepad #1",
                           "4 Button Gamepad #2",
                           "6 Button Joystick",
                           "Sidewinder Gamepad"};

// clang-format off
const std::vector<Row> kLayout{
    {"Command1", Kind::PictureButton, "Form1", "", "Launches the currently selected game", 3120, 3120, 2052, 372},
    {"Command2", Kind::PictureButton, "Form1", "", "Choose a game from the directory you specified", 240, 2760, 2055, 252},
    {"GmLabel", Kind::Label, "Form1", "", "Name of currently selected game.", 2640, 2760, 2775, 255},
    {"Frame3", Kind::Frame, "Form1", "", "", -240, 0, 6372, 30},
    {"Label8", Kind::SizedLabel, "Form1", "Version 0.5", "Version Info", 1320, 3360, 792, 192},
    {"Image3", Kind::Picture, "Form1", "", "", 0, 3000, 1392, 708},
    // Paths
    {"Frame5", Kind::Frame, "Tab0", "", "", 0, -120, 5652, 2532},
    {"Paths", Kind::TextBox, "Frame5", "", "", 360, 840, 4932, 288},
    {"LinkPaths", Kind::ComboBox, "Frame5", "", "", 840, 1320, 2172, 288,
     {"ZSNES Executable", "ROM Directory", "Path to Saved Games", "SPCPlay Executable ",
      "Screen Shots Directory"}},
    {"Command6", Kind::PushButton, "Frame5", "Configure Path", "", 3360, 1320, 1572, 252},
    {"Command4", Kind::PushButton, "Frame5", "Save Path", "", 3360, 1680, 1572, 252},
    // Sound
    {"Frame7", Kind::Frame, "Tab1", "", "", 0, -120, 5652, 2532},
    {"Check1", Kind::CheckBox, "Frame7", "Enabled", "Enable Sound", 840, 480, 2052, 252},
    {"Check2", Kind::CheckBox, "Frame7", "Stereo", "Enable Stereo Sound", 840, 840, 2292, 252},
    {"Check14", Kind::CheckBox, "Frame7", "Enable Sound Buffering", "Enable Sound Buffering", 840, 1200, 3132, 252},
    {"Check3", Kind::CheckBox, "Frame7", "Force 8-bit Sound", "Force 8-bit Sound", 840, 1560, 2892, 252},
    {"Check11", Kind::CheckBox, "Frame7", "Disable ADSR->Gain Switching", "", 840, 1920, 3252, 252},
    {"Label2", Kind::SizedLabel, "Frame7", "Sampling Rate", "", 3840, 720, 1068, 192},
    {"Combo1", Kind::DropDownList, "Frame7", "", "Choose sampling rate", 4080, 960, 972, 288},
    // Video
    {"Frame10", Kind::Frame, "Tab2", "", "", 0, -120, 5652, 2532},
    // The captioned frames sit on the page over Frame10, at their place in it (see VideoPage).
    {"Frame1", Kind::Frame, "Tab2", "# of Colors", "", 360, 360 - 120, 1452, 852},
    {"Option3", Kind::OptionButton, "Frame1", "256", "", 120, 240, 1212, 252},
    {"Option4", Kind::OptionButton, "Frame1", "16-bit", "", 120, 480, 1212, 252},
    {"Frame2", Kind::Frame, "Tab2", "Video Mode", "", 360, 1440 - 120, 1452, 852},
    {"Option5", Kind::OptionButton, "Frame2", "Normal", "", 120, 240, 1212, 252},
    {"Option6", Kind::OptionButton, "Frame2", "Vesa 2", "", 120, 480, 1092, 252},
    {"Label11", Kind::SizedLabel, "Frame10", "Choose Resolution", "", 2040, 240, 1368, 192},
    {"Option7", Kind::OptionButton, "Frame10", "256x256", "", 2280, 480, 1212, 252},
    {"Option8", Kind::OptionButton, "Frame10", "320x240", "", 2280, 840, 1092, 252},
    {"Option11", Kind::OptionButton, "Frame10", "640x480", "", 2280, 1200, 1092, 252},
    {"Option12", Kind::OptionButton, "Frame10", "512x384", "", 2280, 1560, 1092, 252},
    {"Check12", Kind::CheckBox, "Frame10", "Auto Frame Skip", "", 3720, 240, 1692, 252},
    {"Check13", Kind::CheckBox, "Frame10", "Enable VSync", "", 3720, 480, 1572, 252},
    {"Check15", Kind::CheckBox, "Frame10", "Interpolation", "", 3720, 720, 1692, 252},
    {"Check16", Kind::CheckBox, "Frame10", "Scanlines", "", 3720, 960, 1692, 252},
    {"Check17", Kind::CheckBox, "Frame10", "Image Scale", "", 3720, 1200, 1692, 252},
    {"Check18", Kind::CheckBox, "Frame10", "Center Image", "", 3720, 1440, 1692, 252},
    {"Check19", Kind::CheckBox, "Frame10", "New GFX Engine", "", 3720, 1680, 1812, 252},
    {"Label14", Kind::SizedLabel, "Frame10", "Frame Skip", "", 2040, 1920, 828, 192},
    {"Slider3", Kind::Slider, "Frame10", "", "", 2040, 2160, 1455, 255},
    {"Label13", Kind::SizedLabel, "Frame10", "Gamma Correction", "", 3720, 1920, 1350, 195},
    {"Slider2", Kind::Slider, "Frame10", "", "", 3840, 2160, 1575, 255},
    // Controls: on the tab itself
    {"Label16", Kind::SizedLabel, "Tab3", "Player 1 Settings", "", 1080, 600, 1200, 192},
    {"P1input", Kind::ComboBox, "Tab3", "", "", 2400, 600, 2052, 288, kDevices},
    {"Command3", Kind::PushButton, "Tab3", "Configure Input", "", 2640, 960, 1572, 252},
    {"Label19", Kind::SizedLabel, "Tab3", "Player 2 Settings", "", 1080, 1440, 1200, 192},
    {"P2input", Kind::ComboBox, "Tab3", "", "", 2400, 1440, 2052, 288, kDevices},
    {"Command12", Kind::PushButton, "Tab3", "Configure Iput", "", 2640, 1800, 1572, 252},
    // Options
    {"Frame8", Kind::Frame, "Tab4", "", "", 0, -120, 5652, 2532},
    {"Check5", Kind::CheckBox, "Frame8", "Skip Enter Delay", "Skips the delay at the start of ZSNES", 240, 360, 1932, 252},
    {"Check6", Kind::CheckBox, "Frame8", "Debugger", "", 240, 720, 1692, 252},
    {"Check4", Kind::CheckBox, "Frame8", "Disable GUI", "Disables the ZSNES DOS GUI", 240, 1080, 1572, 252},
    {"Check7", Kind::CheckBox, "Frame8", "Uninterleave ROM Image", "", 240, 1440, 2412, 252},
    {"Check10", Kind::CheckBox, "Frame8", "Show All Extensions in GUI", "", 2280, 360, 2412, 252},
    {"Check8", Kind::CheckBox, "Frame8", "Enable FPU Copy", "", 2280, 720, 1812, 252},
    {"Check9", Kind::CheckBox, "Frame8", "Enable MMX Copy", "", 2280, 1080, 1812, 252},
    {"Label12", Kind::Label, "Frame8", "ROM Settings", "", 4440, 720, 1092, 252},
    {"Combo4", Kind::DropDownList, "Frame8", "", "", 4560, 960, 852, 288, {"auto", "LO", "HI"}},
    {"Label15", Kind::Label, "Frame8", "Timing", "", 4440, 1320, 732, 252},
    {"Combo3", Kind::ComboBox, "Frame8", "", "", 4560, 1560, 852, 288, {"auto", "NTSC", "PAL"}},
    {"Label7", Kind::Label, "Frame8", "", "", 600, 1920, 4212, 252},
    {"Slider1", Kind::Slider, "Frame8", "", "Choose a higher value to slow down the game if too fast", 600, 2160, 4452, 252},
    // Music
    {"Frame6", Kind::Frame, "Tab5", "", "", -120, -120, 5892, 2532},
    {"Image1", Kind::Picture, "Frame6", "", "", 240, 240, 900, 396},
    {"Label17", Kind::SizedLabel, "Frame6", "Set Timer", "", 480, 840, 696, 192},
    {"Text1", Kind::TextBox, "Frame6", "0", "", 720, 1080, 372, 288},
    {"Label6", Kind::Label, "Frame6", ":", "", 1080, 1080, 252, 252},
    {"Text2", Kind::TextBox, "Frame6", "30", "You can only put up to 59 seconds", 1320, 1080, 372, 288},
    {"Label10", Kind::SizedLabel, "Frame6", "Time to next song:", "", 480, 1560, 1296, 192},
    {"MusicList", Kind::ComboBox, "Frame6", "", "", 480, 1800, 4932, 288},
    {"Command11", Kind::PushButton, "Frame6", "Select Music", "", 3720, 720, 1692, 252},
    {"Command10", Kind::PushButton, "Frame6", "Edit Playlist", "", 3720, 1200, 1692, 252},
    {"Command9", Kind::PushButton, "Frame6", "Stop", "", 1680, 2160, 852, 252},
    {"Command13", Kind::PushButton, "Frame6", "Play", "", 2520, 2160, 852, 252},
    {"Command14", Kind::PushButton, "Frame6", "Next", "", 3360, 2160, 852, 252},
    // Pictures
    {"Frame4", Kind::Frame, "Tab6", "", "", 0, -120, 5652, 2532},
    {"Combo2", Kind::ComboBox, "Frame4", "", "", 240, 1680, 2412, 315,
     {"Link Other Picture", "Unlink All Pictures", "Unlink this Game", "Search Zip for Picture"}},
    {"Command15", Kind::PushButton, "Frame4", "Select",
     "Click to select another picture that will be linked to file in the 'Current Game' box", 1440, 2040, 1095, 252},
    {"Image2", Kind::Picture, "Frame4", "", "", 2880, 240, 2532, 2172},
    {"PicStatus", Kind::Label, "Frame4", "No Picture Available", "", 2880, 1200, 2532, 252},
};
// clang-format on

QString captionOf(QWidget* widget, Kind kind) {
    switch (kind) {
        case Kind::CheckBox:
        case Kind::OptionButton:
        case Kind::PushButton:
        case Kind::PictureButton:
            return qobject_cast<QAbstractButton*>(widget)->text();
        case Kind::TextBox:
            return qobject_cast<QLineEdit*>(widget)->text();
        case Kind::Label:
        case Kind::SizedLabel:
            return qobject_cast<QLabel*>(widget)->text();
        case Kind::Frame:
            return qobject_cast<QGroupBox*>(widget)->title();
        case Kind::ComboBox:
        case Kind::DropDownList:
            return qobject_cast<QComboBox*>(widget)->currentText();
        default:
            return {};
    }
}

// Whether the widget is of the kind, with a message saying what is wrong when not.
testing::AssertionResult isKind(QWidget* widget, Kind kind) {
    const auto fail = [&](const char* what) {
        return testing::AssertionFailure()
               << widget->objectName().toStdString() << " is a "
               << widget->metaObject()->className() << ", wanted " << what;
    };
    switch (kind) {
        case Kind::CheckBox:
            return qobject_cast<QCheckBox*>(widget) ? testing::AssertionSuccess()
                                                    : fail("check box");
        case Kind::OptionButton:
            return qobject_cast<QRadioButton*>(widget) ? testing::AssertionSuccess()
                                                       : fail("option button");
        case Kind::ComboBox: {
            auto* combo = qobject_cast<EditableList*>(widget);
            return combo && combo->insertPolicy() == QComboBox::NoInsert
                       ? testing::AssertionSuccess()
                       : fail("editable list that never adds typed text");
        }
        case Kind::DropDownList: {
            auto* combo = qobject_cast<QComboBox*>(widget);
            return combo && !qobject_cast<EditableList*>(widget) && !combo->isEditable()
                       ? testing::AssertionSuccess()
                       : fail("drop-down list");
        }
        case Kind::TextBox:
            return qobject_cast<QLineEdit*>(widget) ? testing::AssertionSuccess()
                                                    : fail("text box");
        case Kind::Label: {
            auto* label = qobject_cast<QLabel*>(widget);
            return label && label->pixmap().isNull() ? testing::AssertionSuccess() : fail("label");
        }
        case Kind::SizedLabel:
            return qobject_cast<FitLabel*>(widget) ? testing::AssertionSuccess()
                                                   : fail("label sized to its text");
        case Kind::Frame:
            return qobject_cast<QGroupBox*>(widget) ? testing::AssertionSuccess() : fail("frame");
        case Kind::Picture:
            return qobject_cast<QLabel*>(widget) ? testing::AssertionSuccess() : fail("picture");
        case Kind::PushButton: {
            auto* button = qobject_cast<QPushButton*>(widget);
            return button && !qobject_cast<PictureButton*>(widget) ? testing::AssertionSuccess()
                                                                   : fail("push button");
        }
        case Kind::PictureButton: {
            auto* button = qobject_cast<PictureButton*>(widget);
            return button && !button->face().isNull() && !button->pressedPicture().isNull()
                       ? testing::AssertionSuccess()
                       : fail("picture button with face and pressed pictures");
        }
        case Kind::Slider:
            return qobject_cast<ClickSlider*>(widget) ? testing::AssertionSuccess()
                                                      : fail("clickable slider");
    }
    return fail("a known kind");
}

class MainWindowLayout : public testing::Test {
  protected:
    QWidget* container(const QString& name) {
        if (name == "Form1") {
            return window.centralWidget();
        }
        if (name.startsWith("Tab")) {
            return tabs->widget(name.mid(3).toInt());
        }
        return window.findChild<QWidget*>(name);
    }

    MainWindow window;
    QTabWidget* tabs = window.findChild<QTabWidget*>("SSTab1");
};

TEST_F(MainWindowLayout, EveryControlMatchesTheDescription) {
    ASSERT_NE(tabs, nullptr);
    for (const Row& row : kLayout) {
        SCOPED_TRACE(row.name);
        const auto matches = window.findChildren<QWidget*>(row.name);
        ASSERT_EQ(matches.size(), 1) << "the name must be unique in the window";
        QWidget* widget = matches.front();
        EXPECT_TRUE(isKind(widget, row.kind));
        QWidget* parent = container(row.container);
        ASSERT_NE(parent, nullptr) << row.container;
        EXPECT_EQ(widget->parentWidget(), parent) << "container " << row.container;
        EXPECT_EQ(captionOf(widget, row.kind), row.caption);
        EXPECT_EQ(widget->toolTip(), row.toolTip);
        const QRect place = twipRect(row.left, row.top, row.width, row.height);
        if (row.kind == Kind::SizedLabel) {
            EXPECT_EQ(widget->pos(), place.topLeft());
            EXPECT_GE(widget->width(), widget->fontMetrics().horizontalAdvance(row.caption));
            EXPECT_GE(widget->height(), widget->fontMetrics().height());
        } else {
            EXPECT_EQ(widget->geometry(), place);
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i) {
                items << combo->itemText(i);
            }
            EXPECT_EQ(items, row.items);
        }
    }
}

TEST_F(MainWindowLayout, LeavesEveryChoiceToTheStartUp) {
    for (auto* box : window.findChildren<QCheckBox*>()) {
        EXPECT_EQ(box->checkState(), Qt::Unchecked) << box->objectName().toStdString();
    }
    for (auto* option : window.findChildren<QRadioButton*>()) {
        EXPECT_FALSE(option->isChecked()) << option->objectName().toStdString();
    }
    for (const Row& row : kLayout) {
        auto* widget = window.findChild<QWidget*>(row.name);
        ASSERT_NE(widget, nullptr) << row.name;
        EXPECT_TRUE(widget->isEnabled()) << row.name;
        EXPECT_FALSE(widget->isHidden()) << row.name;
    }
}

TEST_F(MainWindowLayout, SlidersHaveTheirRangesAndSteps) {
    struct Range {
        const char* name;
        int minimum, maximum, tick, small, large, value;
    };
    for (const Range& r :
         {Range{"Slider1", 50, 150, 10, 1, 5, 100}, Range{"Slider2", 0, 5, 1, 1, 1, 0},
          Range{"Slider3", 0, 10, 1, 1, 5, 0}}) {
        SCOPED_TRACE(r.name);
        auto* slider = window.findChild<ClickSlider*>(r.name);
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider->orientation(), Qt::Horizontal);
        EXPECT_EQ(slider->minimum(), r.minimum);
        EXPECT_EQ(slider->maximum(), r.maximum);
        EXPECT_EQ(slider->tickInterval(), r.tick);
        EXPECT_NE(slider->tickPosition(), QSlider::NoTicks);
        EXPECT_EQ(slider->singleStep(), r.small);
        EXPECT_EQ(slider->pageStep(), r.large);
        EXPECT_EQ(slider->value(), r.value);
    }
}

TEST_F(MainWindowLayout, OptionGroupsAreIndependent) {
    const std::vector<QStringList> groups{{"Option3", "Option4"},
                                          {"Option5", "Option6"},
                                          {"Option7", "Option8", "Option11", "Option12"}};
    const auto option = [&](const QString& name) {
        auto* button = window.findChild<QRadioButton*>(name);
        EXPECT_NE(button, nullptr) << name.toStdString();
        return button;
    };
    // Select through every button of every group in turn: each selection clears exactly the
    // rest of its own group, whichever group was touched before.
    std::vector<QString> selected(groups.size());
    for (int round = 0; round < 4; ++round) {
        for (std::size_t g = 0; g < groups.size(); ++g) {
            const QString& name = groups[g][round % groups[g].size()];
            option(name)->setChecked(true);
            selected[g] = name;
            for (std::size_t h = 0; h < groups.size(); ++h) {
                for (const QString& other : groups[h]) {
                    EXPECT_EQ(option(other)->isChecked(), other == selected[h])
                        << "after selecting " << name.toStdString() << ", " << other.toStdString();
                }
            }
        }
    }
}

TEST(Geometry, TwipsRoundToTheNearestPixel) {
    EXPECT_EQ(twips(0), 0);
    EXPECT_EQ(twips(15), 1);
    EXPECT_EQ(twips(372), 25);  // 24.8
    EXPECT_EQ(twips(2055), 137);
    EXPECT_EQ(twips(187), 12);  // 12.47
    EXPECT_EQ(twips(-120), -8);
    EXPECT_EQ(twips(-128), -9);  // -8.53
    EXPECT_EQ(twipRect(3120, 3120, 2052, 372), QRect(208, 208, 137, 25));
}

}  // namespace
}  // namespace velmor::app
