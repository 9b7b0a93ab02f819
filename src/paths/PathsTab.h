#pragma once

#include <QObject>
#include <optional>
#include <string>

#include "settings/SettingsRecord.h"

class QComboBox;
class QLineEdit;
class QWidget;

namespace velmor::platform {
class FileDialogs;
class Messages;
}  // namespace velmor::platform

namespace velmor::paths {

// The paths tab: the list of the five paths, the box that shows the chosen one, and the two
// buttons that set it, from a dialog or from what was typed into the box. A path set here
// takes effect in memory at once; the settings' next save stores it.
class PathsTab final : public QObject {
    Q_OBJECT
  public:
    PathsTab(QWidget& form, settings::SettingsRecord& record, platform::FileDialogs& dialogs,
             platform::Messages& messages);

    // The path of a list entry (0 the emulator, 1 the games, 2 saved games, 3 the music
    // player, 4 screenshots), or null for any other index.
    std::string* path(int index);

    // Shows the selected entry's path in the box; an empty path leaves the box as it is.
    void linkPathsClick();
    // "Configure Path": the selected path from a file dialog or a folder browser.
    void command6Click();
    // "Save Path": the selected path becomes the box's text without its surrounding blanks.
    void command4Click();

  private:
    void choose(std::string& path, const std::optional<std::string>& chosen);

    settings::SettingsRecord& record_;
    platform::FileDialogs& dialogs_;
    platform::Messages& messages_;
    QComboBox* linkPaths_;
    // Shows the paths as their bytes (widgets/TextBytes.h): a path need not be valid UTF-8, and
    // saved back unedited it keeps its own bytes.
    QLineEdit* paths_;
};

}  // namespace velmor::paths
