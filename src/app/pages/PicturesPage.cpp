#include "app/pages/PicturesPage.h"

#include <QGroupBox>
#include <QLabel>

#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::app {

using namespace widgets;   // the window is laid out with the widget kit throughout
using namespace controls;  // and its controls are named by the control table

PicturesPage::PicturesPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PicturesPage"));
    QGroupBox* page = pageFrame(this, kFrame4);
    comboBox(page, kCombo2, twipRect(240, 1680, 2412, 315));
    pushButton(page, kCommand15, QStringLiteral("Select"), twipRect(1440, 2040, 1095, 252),
               QStringLiteral("Click to select another picture that will be linked to file in "
                              "the 'Current Game' box"));
    QLabel* shown = picture(page, kImage2, {}, twipRect(2880, 240, 2532, 2172), true);
    shown->setFrameStyle(QFrame::Box | QFrame::Plain);
    // Drawn over the picture box, so it says what is missing where the picture would be.
    QLabel* status = label(page, kPicStatus, QStringLiteral("No Picture Available"),
                           twipRect(2880, 1200, 2532, 252));
    status->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    status->setAutoFillBackground(false);
}

}  // namespace velmor::app
