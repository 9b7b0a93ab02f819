#include "app/pages/SoundPage.h"

#include <QGroupBox>

#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::app {

using namespace widgets;   // the window is laid out with the widget kit throughout
using namespace controls;  // and its controls are named by the control table

SoundPage::SoundPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SoundPage"));
    QGroupBox* page = pageFrame(this, kFrame7);
    checkBox(page, kCheck1, QStringLiteral("Enabled"), twipRect(840, 480, 2052, 252),
             QStringLiteral("Enable Sound"));
    checkBox(page, kCheck2, QStringLiteral("Stereo"), twipRect(840, 840, 2292, 252),
             QStringLiteral("Enable Stereo Sound"));
    checkBox(page, kCheck14, QStringLiteral("Enable Sound Buffering"),
             twipRect(840, 1200, 3132, 252), QStringLiteral("Enable Sound Buffering"));
    checkBox(page, kCheck3, QStringLiteral("Force 8-bit Sound"), twipRect(840, 1560, 2892, 252),
             QStringLiteral("Force 8-bit Sound"));
    checkBox(page, kCheck11, QStringLiteral("Disable ADSR->Gain Switching"),
             twipRect(840, 1920, 3252, 252));
    fittedLabel(page, kLabel2, QStringLiteral("Sampling Rate"), twipRect(3840, 720, 1068, 192));
    dropDownList(page, kCombo1, twipRect(4080, 960, 972, 288),
                 QStringLiteral("Choose sampling rate"));
}

}  // namespace velmor::app
