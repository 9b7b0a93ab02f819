#include "app/pages/OptionsPage.h"

#include <QGroupBox>

#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::app {

using namespace widgets;   // the window is laid out with the widget kit throughout
using namespace controls;  // and its controls are named by the control table

OptionsPage::OptionsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("OptionsPage"));
    QGroupBox* page = pageFrame(this, kFrame8);
    checkBox(page, kCheck5, QStringLiteral("Skip Enter Delay"), twipRect(240, 360, 1932, 252),
             QStringLiteral("Skips the delay at the start of ZSNES"));
    checkBox(page, kCheck6, QStringLiteral("Debugger"), twipRect(240, 720, 1692, 252));
    checkBox(page, kCheck4, QStringLiteral("Disable GUI"), twipRect(240, 1080, 1572, 252),
             QStringLiteral("Disables the ZSNES DOS GUI"));
    checkBox(page, kCheck7, QStringLiteral("Uninterleave ROM Image"),
             twipRect(240, 1440, 2412, 252));
    checkBox(page, kCheck10, QStringLiteral("Show All Extensions in GUI"),
             twipRect(2280, 360, 2412, 252));
    checkBox(page, kCheck8, QStringLiteral("Enable FPU Copy"), twipRect(2280, 720, 1812, 252));
    checkBox(page, kCheck9, QStringLiteral("Enable MMX Copy"), twipRect(2280, 1080, 1812, 252));
    label(page, kLabel12, QStringLiteral("ROM Settings"), twipRect(4440, 720, 1092, 252));
    dropDownList(page, kCombo4, twipRect(4560, 960, 852, 288));
    label(page, kLabel15, QStringLiteral("Timing"), twipRect(4440, 1320, 732, 252));
    comboBox(page, kCombo3, twipRect(4560, 1560, 852, 288));
    label(page, kLabel7, {}, twipRect(600, 1920, 4212, 252));
    slider(page, kSlider1, twipRect(600, 2160, 4452, 252),
           QStringLiteral("Choose a higher value to slow down the game if too fast"));
}

}  // namespace velmor::app
