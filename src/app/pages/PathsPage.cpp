#include "app/pages/PathsPage.h"

#include <QGroupBox>

#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::app {

using namespace widgets;   // the window is laid out with the widget kit throughout
using namespace controls;  // and its controls are named by the control table

PathsPage::PathsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PathsPage"));
    QGroupBox* page = pageFrame(this, kFrame5);
    textBox(page, kPaths, twipRect(360, 840, 4932, 288));
    comboBox(page, kLinkPaths, twipRect(840, 1320, 2172, 288));
    pushButton(page, kCommand6, QStringLiteral("Configure Path"), twipRect(3360, 1320, 1572, 252));
    pushButton(page, kCommand4, QStringLiteral("Save Path"), twipRect(3360, 1680, 1572, 252));
}

}  // namespace velmor::app
