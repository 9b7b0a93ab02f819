#pragma once

#include <QObject>

#include "settings/SettingsRecord.h"

class QComboBox;
class QLineEdit;
class QWidget;

namespace velmor::options {

// The paths tab: the list of the five paths and the box that shows the chosen one.
class PathsTab final : public QObject {
    Q_OBJECT
  public:
    PathsTab(QWidget& form, settings::SettingsRecord& record);

    // The path of a list entry (0 the emulator, 1 the games, 2 saved games, 3 the music
    // player, 4 screenshots), or null for any other index.
    std::string* path(int index);

    // Shows the selected entry's path in the box; an empty path leaves the box as it is.
    void linkPathsClick();

  private:
    settings::SettingsRecord& record_;
    QComboBox* linkPaths_;
    QLineEdit* paths_;
};

}  // namespace velmor::options
