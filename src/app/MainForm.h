#pragma once

#include <QObject>
#include <memory>

#include "platform/Platform.h"
#include "settings/SettingsRecord.h"
#include "settings/SettingsStore.h"
#include "widgets/OneWindow.h"

namespace velmor::dialogs {
class LoadingWindow;
class OptionsWindow;
}  // namespace velmor::dialogs
namespace velmor::launch {
class GameLauncher;
class GamePicker;
}  // namespace velmor::launch
namespace velmor::pictures {
class PictureBox;
class PictureLinks;
}  // namespace velmor::pictures
namespace velmor::music {
class PlaylistEditor;
class ComboSongList;
class MusicPlayerControl;
}  // namespace velmor::music
namespace velmor::interlocks {
class Interlocks;
}

namespace velmor::app {

class MainWindow;
class WidgetHolders;

// The behaviour of the main window: start-up, saving and the close. The window's controls are
// the live state of most settings; the record holds the rest.
class MainForm final : public QObject {
    Q_OBJECT
  public:
    explicit MainForm(platform::Platform& platform);
    ~MainForm() override;

    MainWindow& window() { return *window_; }
    settings::SettingsRecord& record() { return record_; }
    launch::GameLauncher& launcher() { return *launcher_; }
    platform::IntervalTimer* timer1() { return timer1_.get(); }
    platform::Countdown* countdown1() { return countdown1_.get(); }
    launch::GamePicker& gamePicker() { return *gamePicker_; }
    music::PlaylistEditor& playlistEditor() { return *playlistEditor_; }
    // The splash while start-up runs; null once it has been closed.
    dialogs::LoadingWindow* splash() { return splash_.get(); }
    // The About box while it is open, else null.
    dialogs::LoadingWindow* about() const { return about_.window(); }

    // Everything that happens before the window is first shown: the timers, the splash, the
    // lists, every stored setting, the slider labels, the first path, the game's picture and
    // the file named on the command line.
    void formLoad();

    // Writes every setting from the window and the record to the store, all or (false, said on
    // standard error) nothing.
    bool saveGUISettings();

    // "Save Settings Now": a save that could not be made is said in a message.
    void saveSettingsClick();

    // Closes the window as its close box does; asked during start-up, the close waits until
    // every setting is loaded, so that the save never writes a half-loaded window, and asked
    // while a game runs, it waits until the game has ended.
    void requestClose();
    bool closeRequested() const { return closeRequested_; }

    // Runs when the window closes for any reason: closes the music player if asked to, and
    // saves. It never holds the close back.
    void queryUnload();

  signals:
    // Start-up asks for the current game's picture once the settings are loaded, when a game
    // was restored.
    void showGamePicture();
    // Start-up's last step: act on a file named on the program's command line.
    void getCommandLine();

  private:
    // Each feature of the window, wired to its controls in one place.
    void wireMenus();           // File, Preferences and Help; the window's close
    void wireLaunch();          // LAUNCH
    void wireGamePicker();      // the game picker and the current game
    void wirePictures();        // the pictures tab
    void wirePlaylistEditor();  // Edit Playlist
    // The music tab's buttons, its timers' events and the command line's file; made by start-up
    // once the timers exist.
    void wireMusic();

    // The lists and sliders as start-up sets them before any setting is loaded.
    void setStartState();
    void progress(int position);

    platform::Platform& platform_;
    settings::SettingsStore store_;
    settings::SettingsRecord record_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<WidgetHolders> holders_;
    std::unique_ptr<launch::GameLauncher> launcher_;
    interlocks::Interlocks* interlocks_ = nullptr;
    std::unique_ptr<platform::IntervalTimer> timer1_;
    std::unique_ptr<platform::Countdown> countdown1_;
    std::unique_ptr<music::ComboSongList> songList_;
    std::unique_ptr<music::MusicPlayerControl> music_;  // gone before the timers it drives
    std::unique_ptr<dialogs::LoadingWindow> splash_;
    // The windows of the window's own, gone before it.
    widgets::OneWindow<dialogs::LoadingWindow> about_;
    widgets::OneWindow<dialogs::OptionsWindow> options_;
    std::unique_ptr<launch::GamePicker> gamePicker_;
    std::unique_ptr<pictures::PictureBox> pictureBox_;
    std::unique_ptr<pictures::PictureLinks> pictureLinks_;
    std::unique_ptr<music::PlaylistEditor> playlistEditor_;
    bool loading_ = false;
    bool closeRequested_ = false;
};

}  // namespace velmor::app
