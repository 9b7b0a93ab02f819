#include "paths/PathsTab.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <array>
#include <string_view>

#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "settings/Blanks.h"
#include "settings/Controls.h"
#include "widgets/EditableList.h"
#include "widgets/FindControl.h"
#include "widgets/TextBytes.h"

namespace velmor::paths {
namespace {

// How each entry of the list is chosen: a program file through a file dialog with its filter,
// or a folder through the folder browser with its title.
struct Chooser {
    std::string_view filter;
    std::string_view title;
};

constexpr std::array<Chooser, 5> kChoosers{{
    {"ZSNES.exe|zsnes.exe", {}},
    {{}, "Select the folder containing your ROM's:"},
    {{}, "Select a folder to save your games in:"},
    {"SPCPlay.exe|spcplay.exe", {}},
    {{}, "Select the folder containing your ScreenShots:"},
}};

constexpr int kSavedGames = 2;

}  // namespace

PathsTab::PathsTab(QWidget& form, settings::SettingsRecord& record, platform::FileDialogs& dialogs,
                   platform::Messages& messages)
    : QObject(&form),
      record_(record),
      dialogs_(dialogs),
      messages_(messages),
      linkPaths_(&widgets::findControl<QComboBox>(form, controls::kLinkPaths)),
      paths_(&widgets::findControl<QLineEdit>(form, controls::kPaths)) {
    connect(linkPaths_, &QComboBox::currentIndexChanged, this, &PathsTab::linkPathsClick);
    connect(&widgets::findControl<QAbstractButton>(form, controls::kCommand6),
            &QAbstractButton::clicked, this, &PathsTab::command6Click);
    connect(&widgets::findControl<QAbstractButton>(form, controls::kCommand4),
            &QAbstractButton::clicked, this, &PathsTab::command4Click);
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
    const std::string* selected = path(widgets::selectedIndex(*linkPaths_));
    if (selected != nullptr && !selected->empty()) {
        widgets::setTextBytes(*paths_, *selected);
    }
}

void PathsTab::choose(std::string& path, const std::optional<std::string>& chosen) {
    // A cancelled dialog leaves the path and the box as they were. A program's path is kept
    // whole, however long: a shortened one would name another file.
    if (chosen.has_value() && !chosen->empty()) {
        path = *chosen;
        widgets::setTextBytes(*paths_, path);
    }
}

void PathsTab::command6Click() {
    const int index = widgets::selectedIndex(*linkPaths_);
    std::string* selected = path(index);
    if (selected == nullptr) {
        return;
    }
    const Chooser& chooser = kChoosers.at(static_cast<std::size_t>(index));
    if (!chooser.filter.empty()) {
        platform::FileRequest request;
        request.filter = chooser.filter;
        choose(*selected, dialogs_.openFile(request));
        return;
    }
    // Saved games are kept by the emulator, so its folder is asked for only once the emulator
    // is known.
    if (index == kSavedGames && record_.zsnesPath.empty()) {
        messages_.show("You need to set the folder where you keep ZSNES.exe");
        return;
    }
    choose(*selected, dialogs_.browseFolder(chooser.title));
}

void PathsTab::command4Click() {
    if (std::string* selected = path(widgets::selectedIndex(*linkPaths_))) {
        *selected = settings::trimBlanks(widgets::textBytes(*paths_));
    }
}

}  // namespace velmor::paths
