#include "music/MusicPlayerControl.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "music/Playlist.h"
#include "music/SongList.h"
#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/LinuxShortNames.h"
#include "settings/Catalogue.h"
#include "settings/SettingsRecord.h"
#include "support/Controls.h"
#include "support/EmulatorRuns.h"
#include "support/FakeHolders.h"
#include "support/FakePlatform.h"
#include "support/Files.h"

namespace velmor::music {
namespace {

namespace fs = std::filesystem;
using Log = std::vector<std::string>;
using Handler = void (MusicPlayerControl::*)();

class FakeSongs final : public SongList {
  public:
    int count() const override { return static_cast<int>(items.size()); }
    int currentIndex() const override { return current; }
    void setCurrentIndex(int index) override { current = index; }
    std::string currentText() const override { return items.at(current); }
    void clear() override { *this = FakeSongs{{}, -1}; }
    void append(PathList s) override {
        const std::vector<std::string> more = s.toVector();
        items.insert(items.end(), more.begin(), more.end());
    }
    FakeSongs(std::vector<std::string> songs, int index)
        : items(std::move(songs)), current(index) {}
    std::vector<std::string> items;
    int current;
};

Log operator+(Log a, const Log& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// A log of these entries; unlike braces, it may stand inside a test macro.
template <typename... Entries>
Log L(const Entries&... entries) {
    return Log{std::string(entries)...};
}
const Log kArm{"Timer1 on", "Countdown1 on"};

// Lets window events run until `music` has its playlist read and acted on.
void settle(const MusicPlayerControl& music) {
    QDeadlineTimer hung(60000);
    while (music.reading() && !hung.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    ASSERT_FALSE(music.reading()) << "the read never ended";
}
const Log kPause{"wait 1000", "yield"};

// The music tab on the fake platform; every yield and window show goes into the one log. The
// player is the stand-in program, so that the same tab can also start it for real.
class Music : public testing::Test {
  protected:
    Music() {
        fs::copy_file(FAKE_PLAYER, player);
        record.spcPlayPath = player;
        holders.texts = {{"Text1", "0"}, {"Text2", "30"}};
        holders.boxes["Check2"] = 1;
        holders.lists["Combo1"] = 2;
        fake.events.onProcess = [this] { fake.log.push_back("yield"); };
    }
    Log run(Handler handler) {
        fake.log.clear();
        (music.*handler)();
        settle(music);
        return fake.log;
    }
    std::string started(const std::string& song) {
        return "detached " + player + "  -z -r 2 " + song;
    }
    std::string write(const std::string& name, const std::string& bytes) {
        test::writeFile(dir / name, bytes);
        return (dir / name).string();
    }

    test::TempFolder temp;
    fs::path dir = temp.path;
    std::string player = (dir / "spcplay").string();
    test::FakePlatform fake;
    test::FakeHolders holders;
    settings::SettingsRecord record;
    FakeSongs songs{{"a.spc", "b.spc", "c.spc"}, 0};
    std::unique_ptr<platform::IntervalTimer> timer1 = fake.timers.createIntervalTimer();
    std::unique_ptr<platform::Countdown> countdown1 = fake.timers.createCountdown();
    int tabShown = 0;
    MusicWindow window{[this] { fake.log.push_back("show"); }, [this] { ++tabShown; }};
    MusicPlayerControl music{fake.platform, holders, record, songs, *timer1, *countdown1, window};
    const Handler play = &MusicPlayerControl::command13Click;
    const Handler next = &MusicPlayerControl::command14Click;
};

TEST_F(Music, PlayNextTheSongsEndAndStopCloseThePlayerAndChangeSongInTheirOrder) {
    fake.playerWindow.present = true;
    songs.current = 1;
    const Log keys{"yield", "activate SPCPLAY", "key Return"};
    EXPECT_EQ(run(play), keys + L("key Return", "yield", "Timer1 off", "Countdown1 off") + kPause +
                             kArm + L(started("b.spc")));
    EXPECT_EQ(timer1->interval() + countdown1->duration(), 60000);
    countdown1->onTick(59500);
    EXPECT_EQ(holders.texts["Label10"], "Time to next song:  1 : 00");

    EXPECT_EQ(run(next), keys + L("key Tab", "yield", "Timer1 off", "Countdown1 off") + kPause +
                             kArm + L(started("c.spc")));
    EXPECT_EQ(holders.texts["Label10"], "Time to next song:  ");
    // At the last song the player is closed and nothing follows.
    EXPECT_EQ(run(&MusicPlayerControl::timer1Timer),
              L("show", "yield", "activate SPCPLAY", "yield", "key Return", "key Tab", "Timer1 off",
                "Countdown1 off", "yield") +
                  kPause);
    EXPECT_EQ(songs.current, 2);
    EXPECT_EQ(run(&MusicPlayerControl::command9Click),
              keys + L("key Tab", "yield", "yield", "Countdown1 off", "Timer1 off", "show"));
    EXPECT_EQ(holders.texts["Label10"], "Time to next song:");

    // Without a window no keys, and the song's end leaves the timers alone; without a current
    // song the first one plays; an empty list plays nothing.
    fake.playerWindow.present = false;
    songs.current = -1;
    EXPECT_EQ(run(&MusicPlayerControl::timer1Timer),
              L("show", "yield", "activate SPCPLAY (none)") + kPause + kArm + L(started("a.spc")));
    songs.clear();
    EXPECT_EQ(run(next),
              L("yield", "activate SPCPLAY (none)", "Timer1 off", "Countdown1 off") + kPause);
}

TEST_F(Music, APlayOrNextThatFailsACheckSaysWhyAndLeavesNothingPlaying) {
    const auto fails = [&](Handler handler, const std::string& message) {
        SCOPED_TRACE(message);
        const Log log = run(handler);
        EXPECT_EQ(log.end()[-2], "yield");  // after the pause, with nothing started
        EXPECT_EQ(log.back(), "message " + message);
        EXPECT_FALSE(timer1->enabled() || countdown1->enabled());
    };
    record.spcPlayPath.clear();
    fails(play, "You must locate SPCPlay.exe on the Paths tab");
    fails(next, "You must locate SPCPlay.exe on the Paths tab");
    record.spcPlayPath = player;
    songs.current = -1;
    fails(play, "You must select a music file");
    songs.current = 0;
    holders.texts["Text1"] = "2147483647";
    fails(play, "You entered an invalid number into the timer");
    holders.texts["Text1"] = "0";
    record.spcPlayPath = dir.string();  // a folder
    fails(next, "SPCPlay was not found at " + dir.string() +
                    "\n\nCheck the SPCPlay Executable on the Paths tab.");
    record.spcPlayPath = player;
    fs::permissions(player, fs::perms(0644));
    if (::geteuid() != 0) {  // the superuser may run anything
        fails(play, "SPCPlay at " + player + " cannot be run: the file is not executable.");
    }
    fs::permissions(player, fs::perms(0755));
    fake.processes.starts = false;  // the timers armed for it are stopped again
    EXPECT_EQ(run(play).end()[-4], started(songs.items[songs.current]));
    EXPECT_EQ(fake.log.back(), "message SPCPlay at " + player + " could not be started.");
    EXPECT_FALSE(timer1->enabled() || countdown1->enabled());
}

// A Windows player goes through Wine, started minimised, with its song in Windows form; after
// Play's keys it is minimised again, and Next waits until its window is gone (Wine keeps a closing
// window a while) before the next one starts.
TEST_F(Music, AWindowsPlayerRunsMinimisedThroughWineOneWindowAtATime) {
    record.spcPlayPath = write("spcplay.exe", test::windowsHeader(0x8664));
    std::string folder = dir.string();
    std::replace(folder.begin(), folder.end(), '/', '\\');
    const std::string wine = "detached wine|start|/min|Z:" + folder + "\\spcplay.exe|-z|-r|2|Z:";
    const std::string check = "wine check SPCPlay at " + record.spcPlayPath + " 64";
    fake.playerWindow.present = true;
    songs.current = 1;
    EXPECT_EQ(run(play), L("yield", "activate SPCPLAY", "key Return", "key Return", "minimise",
                           "yield", "Timer1 off", "Countdown1 off") +
                             kPause + L(check) + kArm + L(wine + "b.spc"));
    int waits = 0;
    fake.events.onWait = [&] { fake.playerWindow.present = ++waits < 3; };
    EXPECT_EQ(run(next),
              L("yield", "activate SPCPLAY", "key Return", "key Tab", "yield", "Timer1 off",
                "Countdown1 off", "wait 1000", "wait 100", "wait 100", "yield", check) +
                  kArm + L(wine + "c.spc"));
    // A Wine that cannot run it: the message, and nothing armed or started.
    fake.wine.problemText = "no Wine";
    EXPECT_EQ(run(play).back(), "message no Wine");
    EXPECT_FALSE(timer1->enabled());
}

TEST_F(Music, AClickDuringAChangeOfSongTakesOverSoThatOnlyOnePlayerStarts) {
    const auto during = [&](Handler handler) {
        fake.events.onWait = [this, handler] {
            const auto once = std::exchange(fake.events.onWait, nullptr);  // keeps this alive
            (music.*handler)();
        };
    };
    during(next);
    const Log log = run(next);
    EXPECT_EQ(std::count(log.begin(), log.end(), started("b.spc")), 1);
    EXPECT_EQ(log.back(), started("b.spc"));
    during(&MusicPlayerControl::command9Click);
    EXPECT_EQ(run(play).back(), "show");
    EXPECT_FALSE(timer1->enabled());
}

TEST_F(Music, SelectMusicListsTheSongOrThePlaylistsEntriesAndPlaysNothing) {
    const std::string list = write("three.spl", "\"/m/1.spc\"\r\n\"/m/2, b.spc\"\r\n\"/m/3\"\r\n");
    const std::string longName = "/m/" + std::string(300, 'x') + ".spc ";
    fake.fileDialogs.answers = {list, "/m/LIST.SPL", (dir / "no.spl").string(), std::nullopt,
                                "",   longName};
    record.savePath = "/saves";
    using Listed = std::pair<std::vector<std::string>, int>;
    const auto select = [&] {
        run(&MusicPlayerControl::command11Click);
        return Listed{songs.items, songs.current};
    };
    EXPECT_EQ(select(), (Listed{{"/m/1.spc", "/m/2, b.spc", "/m/3"}, 0}));
    EXPECT_EQ(fake.log, L("open dialog Open"));
    const platform::FileRequest& asked = fake.fileDialogs.requests.front();
    EXPECT_EQ(asked.filter + asked.folder + asked.fileName + std::to_string(asked.filterIndex),
              "SPC Playlists|*.spl|Standard Saved State|*.zs?|SPC Saved State|*.spc|All Saved "
              "States|*.zs?;*.spc;*.spl/saves4");
    record.savePath.clear();
    EXPECT_EQ(select(), (Listed{{"/m/LIST.SPL"}, 0}));
    EXPECT_EQ(fake.fileDialogs.requests.back().folder, "/opt/velmor");
    EXPECT_EQ(fake.fileDialogs.requests.back().fileName, list);  // the previous choice
    EXPECT_EQ(select(), (Listed{{}, -1}));                       // unreadable playlist
    songs.items = {"kept"}, songs.current = 0;
    EXPECT_EQ(select(), (Listed{{"kept"}, 0}));    // cancelled
    EXPECT_EQ(select(), (Listed{{"kept"}, 0}));    // no name
    EXPECT_EQ(select(), (Listed{{longName}, 0}));  // a Linux name is taken whole
}

TEST_F(Music, TheCommandLinesFileIsPlayedAtOnceAndTheMusicTabShown) {
    const auto open = [&](const std::string& line) {
        fake.program.line = line;
        songs.clear();
        return run(&MusicPlayerControl::getCommandLine);
    };
    record.autoTab = true;
    EXPECT_EQ(open(""), L());
    EXPECT_EQ(tabShown, 0);
    const std::string list = write("list.spl", "\"/m/1.spc\"\r\n\"/m/2.spc\"\r\n");
    fake.playerWindow.present = true;  // only the countdown is stopped, and there is no pause
    EXPECT_EQ(open(list),
              L("activate SPCPLAY", "key Return", "key Return", "Countdown1 off", "yield") + kArm +
                  L(started("/m/1.spc")));
    fake.playerWindow.present = false;
    EXPECT_EQ(open("/m/LIST.SPL").back(), started("/m/LIST.SPL"));
    EXPECT_EQ(open("\"" + list + "\"").back(), started("\"" + list + "\""));
    record.spcPlayPath.clear();
    EXPECT_EQ(open(list).back(), "message You must locate SPCPlay.exe on the Paths tab");
    EXPECT_EQ(songs.items.size(), 2U);
    EXPECT_EQ(open(list + ".gone.spl"),
              L("message The playlist " + list + ".gone.spl could not be read."));
    EXPECT_EQ(open(write("empty.spl", "")),
              L("message The playlist " + (dir / "empty.spl").string() + " holds no songs."));
    EXPECT_EQ(tabShown, 6);
    record.autoTab = false;
    open(list);
    EXPECT_EQ(tabShown, 6);
}

TEST_F(Music, APlaylistOfMoreThanAMillionSongsIsCutToTheFirstMillionAndTheUserTold) {
    std::string million;
    for (std::size_t i = 1; i < kMostSongs; ++i) {
        million += "s\n";
    }
    // (A list of exactly that many is taken without a word: see the music window's test.)
    const std::string over = write("over.spl", million + "/m/last.spc\r\n/m/over.spc\r\n");
    const std::string told = "message " + playlistCutText(over);
    fake.fileDialogs.answers = {over};
    EXPECT_EQ(run(&MusicPlayerControl::command11Click), L("open dialog Open", told));
    EXPECT_EQ(songs.items.size(), kMostSongs);
    EXPECT_EQ(songs.items.back(), "/m/last.spc");
    EXPECT_EQ(songs.current, 0);
    // Opened from the desktop, the list as cut plays once the user has been told.
    fake.program.line = over;
    songs.clear();
    EXPECT_EQ(run(&MusicPlayerControl::getCommandLine),
              L(told, "activate SPCPLAY (none)") + kArm + L(started("s")));
}

TEST_F(Music, AReadOvertakenByALaterChoiceOrOutlivingTheTabIsDropped) {
    const auto roomForALateResult = [] {
        for (QDeadlineTimer room(300); !room.hasExpired();) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
    };
    const std::string first = write("first.spl", "\"/m/1.spc\"\r\n");
    const std::string second = write("second.spl", "\"/m/2.spc\"\r\n\"/m/3.spc\"\r\n");
    fake.fileDialogs.answers = {first, second, std::nullopt, "/m/song.spc"};
    music.command11Click();
    music.command11Click();
    settle(music);
    roomForALateResult();
    EXPECT_EQ(songs.items, (std::vector<std::string>{"/m/2.spc", "/m/3.spc"}));

    // The command line's playlist is still being read: a cancelled choice leaves the read alone,
    // a song chosen takes its place, and nothing plays.
    fake.program.line = first;
    songs.clear();
    fake.log.clear();
    music.getCommandLine();
    music.command11Click();
    EXPECT_TRUE(music.reading());
    music.command11Click();
    EXPECT_FALSE(music.reading());
    roomForALateResult();
    EXPECT_EQ(songs.items, std::vector<std::string>{"/m/song.spc"});
    EXPECT_EQ(fake.log, L("open dialog Open", "open dialog Open"));

    FakeSongs other{{}, -1};
    {
        const auto timer = fake.timers.createIntervalTimer();
        const auto countdown = fake.timers.createCountdown();
        MusicPlayerControl gone{fake.platform, holders, record, other, *timer, *countdown, window};
        gone.getCommandLine();
    }
    roomForALateResult();
    EXPECT_TRUE(other.items.empty());
}

// The address space the process takes now, in bytes.
rlim_t addressSpace() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmSize:")) {
            return static_cast<rlim_t>(std::stoull(line.substr(7))) * 1024;
        }
    }
    return 0;
}

// Memory that runs out while a playlist is read does not end the program: the playlist counts
// as unreadable.
TEST_F(Music, APlaylistTooLargeForTheMemoryLeftCountsAsUnreadable) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own memory does not fit under a limit";
#endif
    const std::string list = write("large.spl", "\"/m/1.spc\"\r\n");
    fs::resize_file(list, std::uintmax_t{200} << 20);  // sparse: no disk used
    fake.program.line = list;
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            rlimit limit{};
            ::getrlimit(RLIMIT_AS, &limit);
            limit.rlim_cur = addressSpace() + (rlim_t{64} << 20);
            ::setrlimit(RLIMIT_AS, &limit);
            const bool told = run(&MusicPlayerControl::getCommandLine) ==
                              L("message The playlist " + list + " could not be read.");
            fs::remove_all(dir);  // this copy's own folder: its destructor never runs
            std::_Exit(told ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(Music, ForRealTheCommandLineNextTheSongsEndAndPlayEachRunOnePlayerOnTheirSong) {
    test::useRuntimeFolder(dir);
    setenv("FAKE_EMULATOR_LOG", (dir / "log").c_str(), 1);
    fs::create_directories(dir / "SPC Play");
    fs::rename(player, dir / "SPC Play/spcplay");
    record.spcPlayPath = (dir / "SPC Play/spcplay").string();
    platform::LinuxProcesses processes;
    platform::LinuxShortNames shortNames;
    fake.processes.onRun = [&](std::string_view line) { processes.startDetached(line); };
    holders.boxes = {{"Check3", 1}, {"Check14", 1}, {"Check11", 2}, {"Check2", 1}};
    holders.lists["Combo1"] = 3;
    std::string playlist;
    songs.clear();
    for (const char* name : {"first song.spc", "-dash;$(touch x).spc", "\xff.spc"}) {
        const std::string song = write(name, name);
        fake.shortNames.names[song] = shortNames.shortName(song);
        playlist += "\"" + song + "\"\r\n";
    }
    fake.program.line = write("my list.spl", playlist);
    const Handler steps[] = {&MusicPlayerControl::getCommandLine, next,
                             &MusicPlayerControl::timer1Timer, play};
    const std::size_t order[] = {0, 1, 2, 2};
    const std::string program = shortNames.shortName(record.spcPlayPath);
    fake.shortNames.names[record.spcPlayPath] = program;
    for (std::size_t i = 0; i < 4; ++i) {
        const Log log = run(steps[i]);  // each player has written before the next starts
        ASSERT_TRUE(QTest::qWaitFor([&] { return test::readRuns(dir / "log").size() > i; }));
        const std::string& song = songs.items[order[i]];
        const std::string& shortSong = fake.shortNames.names[song];
        EXPECT_EQ(log.back(), "detached " + program + "  -8 -q -z -r 3 " + shortSong);
        EXPECT_EQ(test::readRuns(dir / "log").at(i).words,
                  (std::vector<std::string>{program, "-8", "-q", "-z", "-r", "3", shortSong}));
        EXPECT_TRUE(fs::equivalent(shortSong, song));
    }
    EXPECT_FALSE(fs::exists(dir / "x"));
    unsetenv("XDG_RUNTIME_DIR");
}

// The tab in the main window: the command line's playlist plays once start-up has ended, with the
// tab shown; the song list keeps a name's bytes, the buttons drive the player and the countdown
// shows on the tab.
TEST(MusicTab, TheMainWindowWiresItsControlsToThePlayer) {
    test::TempFolder temp;
    const fs::path dir = temp.path;
    const std::string player = (dir / "spcplay").string();
    test::writeFile(player, "#!/bin/sh\n");
    fs::permissions(player, fs::perms(0755));
    const std::string odd = "/m/\xff\xfe song.spc";  // not UTF-8: reaches the player unchanged
    test::writeFile(dir / "list.spl", "\"" + odd + "\"\r\n\"/m/two.spc\"\r\n");
    test::FakePlatform fake;
    fake.registry.put(settings::kPathsKey, "SPCPlay Loc", player);
    fake.program.line = (dir / "list.spl").string();
    app::MainForm form(fake.platform);
    QWidget& window = form.window();
    const auto click = [&](const char* name) {
        test::findControl<QPushButton>(window, name).click();
    };
    const auto started = [&] { return fake.log.back().substr(("detached " + player).size()); };
    auto& songs = test::findControl<QComboBox>(window, "MusicList");
    form.formLoad();
    // The playlist is read while the window goes on; it plays once it is in the list.
    ASSERT_TRUE(QTest::qWaitFor([&] { return songs.count() > 0; }, 60000));
    EXPECT_EQ(test::findControl<QTabWidget>(window, "SSTab1").currentIndex(), 5);
    EXPECT_EQ(started(), "  -r 0 " + odd);

    fake.timers.countdowns.front()->tick(90000);
    EXPECT_EQ(test::findControl<QLabel>(window, "Label10").text(), "Time to next song:  1 : 30");
    click("Command14");
    EXPECT_EQ(started(), "  -r 0 /m/two.spc");
    click("Command9");
    EXPECT_EQ(test::findControl<QLabel>(window, "Label10").text(), "Time to next song:");
    fake.fileDialogs.answers = {"/m/other.zst"};
    click("Command11");
    EXPECT_EQ(songs.currentText(), "/m/other.zst");
    click("Command13");
    EXPECT_EQ(started(), "  -r 0 /m/other.zst");
}

}  // namespace
}  // namespace velmor::music
