#include "options/PathsTab.h"

#include <QComboBox>
#include <QLineEdit>

#include "widgets/FindControl.h"

namespace velmor::options {

PathsTab::PathsTab(QWidget& form, settings::SettingsRecord& record)
    : QObject(&form),
      record_(record),
      linkPaths_(&widgets::findControl<QComboBox>(form, "LinkPaths")),
      paths_(&widgets::findControl<QLineEdit>(form, "Paths")) {
    connect(linkPaths_, &QComboBox::currentIndexChanged, this, &PathsTab::linkPathsClick);
}

std::string* PathsTab::path(int index) {
    switch (index) {
        case 0:
            return &record_.zsnesPath;
        case 1:
            return &record_.romPath;
        case 2:
            return &record_.savePath;
        case 3:
            return &record_.spcPlayPath;
        case 4:
            return &record_.shotsPath;
        default:
            return nullptr;
    }
}

void PathsTab::linkPathsClick() {
    const std::string* selected = path(linkPaths_->currentIndex());
    if (selected != nullptr && !selected->empty()) {
        paths_->setText(QString::fromStdString(*selected));
    }
}

}  // namespace velmor::options
