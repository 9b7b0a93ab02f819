#include "music/MusicPlayerControl.h"

#include <new>
#include <optional>

#include "music/PlayerCommandLine.h"
#include "music/PlayerKeys.h"
#include "music/Playlist.h"
#include "music/SongList.h"
#include "music/SongTime.h"
#include "platform/linux/Files.h"
#include "platform/linux/ProgramKind.h"
#include "settings/Controls.h"
#include "settings/Holders.h"
#include "settings/SettingsRecord.h"

namespace velmor::music {
namespace {

constexpr std::string_view kLocatePlayer = "You must locate SPCPlay.exe on the Paths tab";
constexpr std::string_view kSelectMusic = "You must select a music file";
constexpr std::string_view kInvalidTimer = "You entered an invalid number into the timer";
constexpr std::string_view kMusicFilter =
    "SPC Playlists|*.spl|Standard Saved State|*.zs?|SPC Saved State|*.spc|All Saved "
    "States|*.zs?;*.spc;*.spl";
constexpr int kAllSavedStates = 4;
constexpr int kSongChangePause = 1000;
// Wine keeps a closing program's window until the window manager has let it go (up to about two
// seconds): the next player starts only once it is gone, and no key can reach it meanwhile.
constexpr int kClosingStep = 100;
constexpr int kClosingLongest = 4000;

bool isPlaylistName(std::string_view name) {
    return name.ends_with("spl");  // letter case counts: "SPL" names a song
}

// How the player at `path` is run, or what keeps it from being run, said for the user.
platform::ProgramToRun playerToRun(const std::string& path, platform::Wine& wine) {
    if (path.empty()) {
        return {std::string(kLocatePlayer), false, {}};
    }
    return platform::programToRun(path, "SPCPlay", "SPCPlay Executable", wine);
}

}  // namespace

MusicPlayerControl::MusicPlayerControl(platform::Platform& platform, settings::Holders& holders,
                                       const settings::SettingsRecord& record, SongList& songs,
                                       platform::IntervalTimer& timer1,
                                       platform::Countdown& countdown1, MusicWindow window)
    : platform_(platform),
      holders_(holders),
      record_(record),
      songs_(songs),
      timer1_(timer1),
      countdown1_(countdown1),
      window_(std::move(window)) {
    timer1_.onTimer = [this] { timer1Timer(); };
    countdown1_.onTick = [this](int timeRemaining) { countdown1Tick(timeRemaining); };
}

MusicPlayerControl::~MusicPlayerControl() {
    timer1_.onTimer = nullptr;
    countdown1_.onTick = nullptr;
}

bool MusicPlayerControl::yielded(int ticket) {
    platform_.events.process();
    return ticket == tickets_;
}

bool MusicPlayerControl::playerIsWindows() const {
    return platform::isWindows(platform::programKind(record_.spcPlayPath));
}

bool MusicPlayerControl::paused(int ticket, bool closing) {
    // The old player gets its time to close; the window stays alive meanwhile.
    platform_.events.wait(kSongChangePause);
    if (closing && playerIsWindows()) {
        for (int waited = 0; waited < kClosingLongest &&
                             platform_.playerWindow.exists(kPlayerTitle) && ticket == tickets_;
             waited += kClosingStep) {
            platform_.events.wait(kClosingStep);
        }
    }
    // Then a yield of its own: a pass runs only events posted before it began, so this one runs
    // those that the pause's last events posted, and a click among them still wins.
    return ticket == tickets_ && yielded(ticket);
}

void MusicPlayerControl::command13Click() {
    const int ticket = ++tickets_;
    // A yield before the keys, so that clicks already queued run first (the last one wins), and
    // one after them, so that our windows have taken the focus going to the player before the
    // timers stop. Next and Stop do the same.
    if (!yielded(ticket)) {
        return;
    }
    if (sendPlayerKeys(platform_.playerWindow, kPlayKeys)) {
        // A Windows player was started minimised, and stays so once its keys are in.
        if (playerIsWindows()) {
            platform_.playerWindow.minimise();
        }
        if (!yielded(ticket)) {
            return;
        }
    }
    stopSongTimers();
    if (!paused(ticket, false)) {
        return;
    }
    startCurrentSong();
}

void MusicPlayerControl::command14Click() {
    const int ticket = ++tickets_;
    if (!yielded(ticket)) {
        return;
    }
    if (sendPlayerKeys(platform_.playerWindow, kCloseKeys) && !yielded(ticket)) {
        return;
    }
    stopSongTimers();
    if (paused(ticket, true)) {
        nextSong(true);
    }
}

void MusicPlayerControl::command9Click() {
    const int ticket = ++tickets_;
    if (!yielded(ticket)) {
        return;
    }
    // Two yields, as at the program's end: the second runs what the first one's events posted
    // (our windows losing the focus to the player), so all has settled before the timers stop.
    if (sendPlayerKeys(platform_.playerWindow, kCloseKeys) &&
        !(yielded(ticket) && yielded(ticket))) {
        return;
    }
    stopCountdownFirst();
    showWindow();
    setLabel(kStoppedLabel);
}

void MusicPlayerControl::timer1Timer() {
    const int ticket = ++tickets_;
    showWindow();
    if (!yielded(ticket)) {
        return;
    }
    // Without a player window the timers are left as they are.
    if (platform_.playerWindow.activate(kPlayerTitle)) {
        if (!yielded(ticket)) {
            return;
        }
        platform_.playerWindow.sendKeys(kCloseKeys);
        stopSongTimers();
        if (!yielded(ticket)) {
            return;
        }
    }
    if (paused(ticket, true)) {
        nextSong(false);
    }
}

void MusicPlayerControl::nextSong(bool checkLocation) {
    if (songs_.currentIndex() != songs_.count() - 1) {
        const std::string switches = playerSwitches(readPlayerOptions(holders_));
        songs_.setCurrentIndex(songs_.currentIndex() + 1);
        if (checkLocation && record_.spcPlayPath.empty()) {
            platform_.messages.show(kLocatePlayer);
        } else {
            startChecked(switches);
        }
    }
    setLabel(kNextSongLabel);
}

// Play's and the command line's last steps: the checks, each with its message, then the start.
void MusicPlayerControl::startCurrentSong() {
    const std::string switches = playerSwitches(readPlayerOptions(holders_));
    if (record_.spcPlayPath.empty()) {
        platform_.messages.show(kLocatePlayer);
    } else if (songs_.currentIndex() < 0) {
        platform_.messages.show(kSelectMusic);
    } else {
        startChecked(switches);
    }
}

void MusicPlayerControl::startChecked(const std::string& switches) {
    const std::optional<int> milliseconds =
        songTimeMilliseconds(holders_.text(controls::kText1), holders_.text(controls::kText2));
    if (!milliseconds) {
        platform_.messages.show(kInvalidTimer);
        return;
    }
    // A player that cannot run would leave the timers counting down a song that never plays,
    // and a command line without its program would make the song file itself the program.
    const std::string& player = record_.spcPlayPath;
    const platform::ProgramToRun program = playerToRun(player, platform_.wine);
    if (!program.problem.empty()) {
        platform_.messages.show(program.problem);
        return;
    }
    armSongTimer(*milliseconds);
    bool started = false;
    if (program.windows) {
        started = platform_.processes.startDetached(platform::wineCommand(
            platform_.wine, platform_.shortNames, program, switches, songs_.currentText(), true));
    } else {
        const std::string commandLine =
            playerCommandLine(platform_.shortNames, player, switches, songs_.currentText());
        started = !commandLine.starts_with(' ') && platform_.processes.startDetached(commandLine);
    }
    if (!started) {
        stopSongTimers();
        platform_.messages.show("SPCPlay at " + player + " could not be started.");
    }
}

void MusicPlayerControl::command11Click() {
    const std::string& saves = record_.savePath;
    const std::optional<std::string> name = platform_.fileDialogs.openFile(
        {"Open", std::string(kMusicFilter), saves.empty() ? platform_.program.folder() : saves,
         kAllSavedStates, lastChoice_});
    if (!name || name->empty()) {
        return;
    }
    lastChoice_ = *name;
    // A read not yet done would fill the list after this choice.
    reader_.cancel();
    // The name is taken whole: a path may be longer than 255 characters and may end in blanks.
    songs_.clear();
    if (!isPlaylistName(*name)) {
        songs_.append(PathList{*name});
        songs_.setCurrentIndex(0);
        return;
    }
    reader_.read(*name, [this, playlist = *name](std::optional<PlaylistRead> read) {
        const bool cut = read && read->cut;
        // An unreadable playlist leaves the list empty, and an empty one without a current song.
        if (fillSongs(std::move(read)) && songs_.count() > 0) {
            songs_.setCurrentIndex(0);
            if (cut) {
                tellCut(playlist);
            }
        }
    });
}

void MusicPlayerControl::getCommandLine() {
    const std::string line = platform_.program.commandLine();
    if (line.empty()) {
        return;
    }
    if (!isPlaylistName(line)) {
        songs_.append(PathList{line});
        playCommandLine(line, false);
        return;
    }
    reader_.read(line, [this, line](std::optional<PlaylistRead> read) {
        const bool cut = read && read->cut;
        if (!fillSongs(std::move(read))) {
            platform_.messages.show("The playlist " + line + " could not be read.");
            showTabIfAsked();
            return;
        }
        playCommandLine(line, cut);
    });
}

void MusicPlayerControl::playCommandLine(const std::string& line, bool cut) {
    if (songs_.count() == 0) {
        platform_.messages.show("The playlist " + line + " holds no songs.");
        showTabIfAsked();
        return;
    }
    songs_.setCurrentIndex(0);
    if (cut) {
        tellCut(line);
    }
    const int ticket = ++tickets_;
    if (sendPlayerKeys(platform_.playerWindow, kPlayKeys)) {
        countdown1_.setEnabled(false);
        if (!yielded(ticket)) {
            return;
        }
    }
    startCurrentSong();
    showTabIfAsked();
}

bool MusicPlayerControl::fillSongs(std::optional<PlaylistRead> read) {
    if (!read) {
        return false;
    }
    try {
        songs_.append(std::move(read->entries));
    } catch (const std::bad_alloc&) {
        return false;  // no room left for the list: as unreadable as a damaged file
    }
    return true;
}

void MusicPlayerControl::tellCut(const std::string& playlist) {
    platform_.messages.show(playlistCutText(playlist));
}

void MusicPlayerControl::closePlayerOnExit() {
    ++tickets_;  // a change of song under way must not start a player after the end
    music::closePlayerOnExit(platform_.playerWindow, platform_.events, countdown1_, timer1_);
}

void MusicPlayerControl::countdown1Tick(int timeRemaining) {
    setLabel(countdownText(timeRemaining));
}

void MusicPlayerControl::armSongTimer(int milliseconds) {
    timer1_.setInterval(milliseconds);
    timer1_.setEnabled(true);
    countdown1_.setDuration(milliseconds);
    countdown1_.setEnabled(true);
}

// Two orders of the same two stops, each the order of its handler in the Windows version. No
// event runs between two calls on the window's thread, so both leave the same state.
void MusicPlayerControl::stopSongTimers() {
    timer1_.setEnabled(false);
    countdown1_.setEnabled(false);
}

void MusicPlayerControl::stopCountdownFirst() {
    countdown1_.setEnabled(false);
    timer1_.setEnabled(false);
}

void MusicPlayerControl::showWindow() {
    if (window_.show) {
        window_.show();
    }
}

void MusicPlayerControl::showTabIfAsked() {
    if (record_.autoTab && window_.showMusicTab) {
        window_.showMusicTab();
    }
}

void MusicPlayerControl::setLabel(std::string_view text) {
    holders_.setText(controls::kLabel10, std::string(text));
}

}  // namespace velmor::music
