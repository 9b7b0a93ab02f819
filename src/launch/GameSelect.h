#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "launch/GameSelectFolder.h"
#include "widgets/OneWindow.h"

class QListWidget;
class QPushButton;

namespace velmor::platform {
class Events;
}
namespace velmor::settings {
class Holders;
}

namespace velmor::launch {

// What the game picker changes outside itself.
struct GameSelectContext {
    settings::Holders& holders;  // the current game is the caption of GmLabel
    platform::Events& events;
    std::function<void()> showGamePicture;
};

// GameSelect: the game picker, a window of its own beside the main window, which stays usable
// while it is open. It lists the game files of one folder; the chosen file's name becomes the
// current game. The folder is read on another thread and the list filled a part at a time, so
// that a slow folder (a network mount) never holds the window up.
class GameSelect final : public QWidget {
    Q_OBJECT

  public:
    explicit GameSelect(GameSelectContext context);
    ~GameSelect() override;

    // Empties the list and fills it from `folder`. A read of an earlier folder still under way
    // is dropped.
    void setFolder(const std::string& folder);
    // True once the newest read is in the list in full.
    bool isFilled() const { return filled_; }

  signals:
    // The window has closed, by any means; the owner lets it go.
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void command1Click();
    void file1DblClick();
    void command2Click();
    // The selected file's name, empty when none is selected.
    std::string selectedName() const;
    // Select, double-click and Cancel each end the window; the first of them wins, so that
    // one arriving while another lets events run does not undo it.
    bool begin();
    void setCurrentGame(const std::string& name);
    void readFinished();
    void addBatch();

    GameSelectContext context_;
    QListWidget* file1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QFuture<GameFolder> reading_;
    QFutureWatcher<GameFolder> watcher_;
    GameFolder folder_;               // the newest read, waiting to be shown
    std::vector<std::string> names_;  // the rows' names
    QTimer batches_;
    bool filled_ = false;
    bool ending_ = false;
};

// Opens the game picker: one window at a time, brought forward and pointed at the folder again
// when it is already open.
class GamePicker final {
  public:
    explicit GamePicker(GameSelectContext context) : context_(std::move(context)) {}

    void open(const std::string& folder);
    // The open window, or null.
    GameSelect* window() const { return windows_.window(); }

  private:
    GameSelectContext context_;
    widgets::OneWindow<GameSelect> windows_;
};

}  // namespace velmor::launch
