#pragma once

#include <QMainWindow>
#include <functional>
#include <string>
#include <vector>

#include "music/PlaylistReader.h"
#include "widgets/OneWindow.h"

class QAction;
class QListView;
class QPushButton;

namespace velmor::platform {
class FileDialogs;
class Messages;
class ProgramInfo;
}  // namespace velmor::platform

namespace velmor::music {

class PathListModel;

// What the playlist editor uses outside itself.
struct PlaylistEditorContext {
    platform::FileDialogs& fileDialogs;
    platform::Messages& messages;
    platform::ProgramInfo& program;
    // The "Rom Location" path as it is now: the folder every dialog of the editor starts in.
    std::function<std::string()> romLocation;
};

// PlayList: the playlist editor, a window of its own beside the main window. It builds, loads
// and saves playlist files and never touches the main window's song list. Its list lives only in
// the window: closing it discards the list, and drops a playlist still being read.
class PlayList final : public QMainWindow {
    Q_OBJECT

  public:
    explicit PlayList(PlaylistEditorContext context);

    // The entries as they stand, each with the bytes it will be saved from.
    std::vector<std::string> entries() const;

  signals:
    // The window has closed, by any means; the owner lets it go.
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void command1Click();
    void command2Click();
    void clearClick();
    void loadClick();
    void saveClick();
    void closeClick();

    void buildMenu();
    std::string startFolder() const;
    // While a playlist is being read, the list is not to be changed or saved: it is about to be
    // replaced.
    void setReading(bool reading);

    PlaylistEditorContext context_;
    QListView* list1_ = nullptr;
    PathListModel* model_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QAction* save_ = nullptr;
    PlaylistReader reader_;  // first to go, with any read it has under way
};

// Opens the playlist editor: one window at a time, brought forward when it is already open, and
// a new, empty one once it has been closed.
class PlaylistEditor final {
  public:
    explicit PlaylistEditor(PlaylistEditorContext context) : context_(std::move(context)) {}

    void open();
    // The open window, or null.
    PlayList* window() const { return windows_.window(); }

  private:
    PlaylistEditorContext context_;
    widgets::OneWindow<PlayList> windows_;
};

}  // namespace velmor::music
