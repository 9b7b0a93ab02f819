#include "app/pages/SoundPage.h"

#include <QGroupBox>

#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::app {

using namespace widgets;  // the window is laid out with the widget kit throughout

SoundPage::SoundPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SoundPage"));
    QGroupBox* page = pageFrame(this, "Frame7");
    checkBox(page, "Check1", QStringLiteral("Enabled"), twipRect(840, 480, 2052, 252),
             QStringLiteral("Enable Sound"));
    checkBox(page, "Check2", QStringLiteral("Stereo"), twipRect(840, 840, 2292, 252),
             QStringLiteral("Enable Stereo Sound"));
    checkBox(page, "Check14", QStringLiteral("Enable Sound Buffering"),
             twipRect(840, 1200, 3132, 252), QStringLiteral("Enable Sound Buffering"));
    checkBox(page, "Check3", QStringLiteral("Force 8-bit Sound"), twipRect(840, 1560, 2892, 252),
             QStringLiteral("Force 8-bit Sound"));
    checkBox(page, "Check11", QStringLiteral("Disable ADSR->Gain Switching"),
             twipRect(840, 1920, 3252, 252));
    fittedLabel(page, "Label2", QStringLiteral("Sampling Rate"), twipRect(3840, 720, 1068, 192));
    // Left empty: the start-up adds the four rates, so that it alone decides their order.
    dropDownList(page, "Combo1", {}, twipRect(4080, 960, 972, 288),
                 QStringLiteral("Choose sampling rate"));
}

}  // namespace velmor::app
