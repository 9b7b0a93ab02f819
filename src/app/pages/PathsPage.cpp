#include "app/pages/PathsPage.h"

#include <QGroupBox>

#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::app {

using namespace widgets;  // the window is laid out with the widget kit throughout

PathsPage::PathsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PathsPage"));
    QGroupBox* page = pageFrame(this, "Frame5");
    textBox(page, "Paths", {}, twipRect(360, 840, 4932, 288));
    // "SPCPlay Executable " keeps its trailing blank: the paths tab matches items by text.
    comboBox(page, "LinkPaths",
             {QStringLiteral("ZSNES Executable"), QStringLiteral("ROM Directory"),
              QStringLiteral("Path to Saved Games"), QStringLiteral("SPCPlay Executable "),
              QStringLiteral("Screen Shots Directory")},
             twipRect(840, 1320, 2172, 288));
    pushButton(page, "Command6", QStringLiteral("Configure Path"), twipRect(3360, 1320, 1572, 252));
    pushButton(page, "Command4", QStringLiteral("Save Path"), twipRect(3360, 1680, 1572, 252));
}

}  // namespace velmor::app
