#include "app/pages/ControlsPage.h"

#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::app {

using namespace widgets;   // the window is laid out with the widget kit throughout
using namespace controls;  // and its controls are named by the control table

ControlsPage::ControlsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ControlsPage"));
    fittedLabel(this, kLabel16, QStringLiteral("Player 1 Settings"),
                twipRect(1080, 600, 1200, 192));
    comboBox(this, kP1input, twipRect(2400, 600, 2052, 288));
    pushButton(this, kCommand3, QStringLiteral("Configure Input"), twipRect(2640, 960, 1572, 252));
    fittedLabel(this, kLabel19, QStringLiteral("Player 2 Settings"),
                twipRect(1080, 1440, 1200, 192));
    comboBox(this, kP2input, twipRect(2400, 1440, 2052, 288));
    // The misspelt caption is the one users of the program know.
    pushButton(this, kCommand12, QStringLiteral("Configure Iput"), twipRect(2640, 1800, 1572, 252));
}

}  // namespace velmor::app
