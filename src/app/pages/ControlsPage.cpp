#include "app/pages/ControlsPage.h"

#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::app {

using namespace widgets;  // the window is laid out with the widget kit throughout

namespace {

QStringList inputDevices() {
    return {QStringLiteral("Disable"),
            QStringLiteral("Keyboard"),
            QStringLiteral("Joystick"),
            QStringLiteral("4 Button Gamepad #1"),
            QStringLiteral("4 Button Gamepad #2"),
            QStringLiteral("6 Button Joystick"),
            QStringLiteral("Sidewinder Gamepad")};
}

}  // namespace

ControlsPage::ControlsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ControlsPage"));
    fittedLabel(this, "Label16", QStringLiteral("Player 1 Settings"),
                twipRect(1080, 600, 1200, 192));
    comboBox(this, "P1input", inputDevices(), twipRect(2400, 600, 2052, 288));
    pushButton(this, "Command3", QStringLiteral("Configure Input"), twipRect(2640, 960, 1572, 252));
    fittedLabel(this, "Label19", QStringLiteral("Player 2 Settings"),
                twipRect(1080, 1440, 1200, 192));
    comboBox(this, "P2input", inputDevices(), twipRect(2400, 1440, 2052, 288));
    // The misspelt caption is the one users of the program know.
    pushButton(this, "Command12", QStringLiteral("Configure Iput"),
               twipRect(2640, 1800, 1572, 252));
}

}  // namespace velmor::app
