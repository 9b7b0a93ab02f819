#include "app/pages/VideoPage.h"

#include <QGroupBox>

#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::app {

using namespace widgets;   // the window is laid out with the widget kit throughout
using namespace controls;  // and its controls are named by the control table

VideoPage::VideoPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("VideoPage"));
    // Option buttons form groups by their parent widget, and Qt counts every option button
    // below that parent, however deep. So the two captioned frames sit on the page beside the
    // page frame rather than inside it, at the same place on screen; the four resolutions are
    // then alone on the page frame and form the third group.
    QGroupBox* page = pageFrame(this, kFrame10);
    const int pageTop = kPageFrameTop;

    QGroupBox* colours = frame(this, kFrame1, QStringLiteral("# of Colors"),
                               twipRect(360, pageTop + 360, 1452, 852));
    optionButton(colours, kOption3, QStringLiteral("256"), twipRect(120, 240, 1212, 252));
    optionButton(colours, kOption4, QStringLiteral("16-bit"), twipRect(120, 480, 1212, 252));

    QGroupBox* mode = frame(this, kFrame2, QStringLiteral("Video Mode"),
                            twipRect(360, pageTop + 1440, 1452, 852));
    optionButton(mode, kOption5, QStringLiteral("Normal"), twipRect(120, 240, 1212, 252));
    optionButton(mode, kOption6, QStringLiteral("Vesa 2"), twipRect(120, 480, 1092, 252));

    fittedLabel(page, kLabel11, QStringLiteral("Choose Resolution"),
                twipRect(2040, 240, 1368, 192));
    optionButton(page, kOption7, QStringLiteral("256x256"), twipRect(2280, 480, 1212, 252));
    optionButton(page, kOption8, QStringLiteral("320x240"), twipRect(2280, 840, 1092, 252));
    optionButton(page, kOption11, QStringLiteral("640x480"), twipRect(2280, 1200, 1092, 252));
    optionButton(page, kOption12, QStringLiteral("512x384"), twipRect(2280, 1560, 1092, 252));

    checkBox(page, kCheck12, QStringLiteral("Auto Frame Skip"), twipRect(3720, 240, 1692, 252));
    checkBox(page, kCheck13, QStringLiteral("Enable VSync"), twipRect(3720, 480, 1572, 252));
    checkBox(page, kCheck15, QStringLiteral("Interpolation"), twipRect(3720, 720, 1692, 252));
    checkBox(page, kCheck16, QStringLiteral("Scanlines"), twipRect(3720, 960, 1692, 252));
    checkBox(page, kCheck17, QStringLiteral("Image Scale"), twipRect(3720, 1200, 1692, 252));
    checkBox(page, kCheck18, QStringLiteral("Center Image"), twipRect(3720, 1440, 1692, 252));
    checkBox(page, kCheck19, QStringLiteral("New GFX Engine"), twipRect(3720, 1680, 1812, 252));

    fittedLabel(page, kLabel14, QStringLiteral("Frame Skip"), twipRect(2040, 1920, 828, 192));
    slider(page, kSlider3, twipRect(2040, 2160, 1455, 255));
    fittedLabel(page, kLabel13, QStringLiteral("Gamma Correction"),
                twipRect(3720, 1920, 1350, 195));
    slider(page, kSlider2, twipRect(3840, 2160, 1575, 255));
}

}  // namespace velmor::app
