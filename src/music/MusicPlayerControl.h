#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "music/PlaylistReader.h"
#include "platform/Platform.h"

namespace velmor::settings {
class Holders;
struct SettingsRecord;
}  // namespace velmor::settings

namespace velmor::music {

class SongList;

// The main window's parts that the music player acts on besides the controls.
struct MusicWindow {
    std::function<void()> show;          // a non-modal show of the main window
    std::function<void()> showMusicTab;  // brings the Sonara tab to the front
};

// What the music tab's buttons do, the song timer's two events and the opening of a file named
// on the program's command line. The player is an outside program started afresh for every song
// and closed by keys sent to its window; nothing of it is kept here. Two timers, armed with each
// start, count the song down and end it.
class MusicPlayerControl final {
  public:
    // Takes over the timers' events until it is destroyed.
    MusicPlayerControl(platform::Platform& platform, settings::Holders& holders,
                       const settings::SettingsRecord& record, SongList& songs,
                       platform::IntervalTimer& timer1, platform::Countdown& countdown1,
                       MusicWindow window);
    ~MusicPlayerControl();
    MusicPlayerControl(const MusicPlayerControl&) = delete;
    MusicPlayerControl& operator=(const MusicPlayerControl&) = delete;

    void command13Click();  // Play: the current song afresh
    void command14Click();  // Next
    void command9Click();   // Stop
    // Select Music: fills the song list, plays nothing. A playlist is read while the window goes
    // on; a later Select Music that chooses a file drops a read not yet done.
    void command11Click();
    // Closes the player as the program ends and stops both timers.
    void closePlayerOnExit();
    // Plays the playlist or song named on the program's command line, if any; a playlist once it
    // has been read.
    void getCommandLine();
    // Whether a playlist is being read for the song list.
    bool reading() const { return reader_.reading(); }

    void timer1Timer();                      // the song's time is up: on to the next song
    void countdown1Tick(int timeRemaining);  // shows the time left

  private:
    // Every change of song draws a ticket. A change that lets window events run can find a
    // later one begun meanwhile (a second click); it then ends where it stands, so that two
    // changes never both start a player and the later click wins.
    bool yielded(int ticket);
    // The pause after keys were sent to a player. `closing`: the keys close it, and a Windows
    // player's window, which Wine keeps a while longer, is waited out.
    bool paused(int ticket, bool closing);
    // Whether the player set on the paths tab is a Windows program, run through Wine.
    bool playerIsWindows() const;
    // Past the last song (or in an empty list) the music ends: nothing wraps round. Next checks
    // the player's location first; the song timer's end does not.
    void nextSong(bool checkLocation);
    // The checks that come after the player's location and the song: the song time, then
    // whether the player can be run at all; then the timers are armed and the player started.
    void startCurrentSong();
    // Puts a playlist's entries into the song list: false when it could not be read or its
    // entries found no room.
    bool fillSongs(std::optional<PlaylistRead> read);
    // Said once the first song of a playlist that was cut short is current.
    void tellCut(const std::string& playlist);
    // The command line's steps once its songs are in the list.
    void playCommandLine(const std::string& line, bool cut);
    void startChecked(const std::string& switches);
    void armSongTimer(int milliseconds);
    void stopSongTimers();
    void stopCountdownFirst();
    void showWindow();
    void showTabIfAsked();
    void setLabel(std::string_view text);

    platform::Platform& platform_;
    settings::Holders& holders_;
    const settings::SettingsRecord& record_;
    SongList& songs_;
    platform::IntervalTimer& timer1_;
    platform::Countdown& countdown1_;
    MusicWindow window_;
    std::string lastChoice_;  // the Select Music dialog's previous choice
    int tickets_ = 0;
    PlaylistReader reader_;  // first to go: no read outlives what it fills
};

}  // namespace velmor::music
