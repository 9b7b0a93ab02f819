#include "launch/GameLauncher.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "launch/EmulatorCommandLine.h"
#include "platform/UniqueFd.h"
#include "settings/SettingsRecord.h"
#include "support/EmulatorRuns.h"
#include "support/FakeHolders.h"
#include "support/FakePlatform.h"
#include "support/Files.h"
#include "support/HostileNames.h"
#include "support/RealProcesses.h"

namespace velmor::launch {
namespace {

namespace fs = std::filesystem;
using Log = std::vector<std::string>;
using test::readFile;
using test::writeFile;

constexpr std::string_view kDefaults = " -1 1 -2 0 -r 0 -v 7 -f 0 -p 100";

// The launch on the fake platform: what is asked of the outside, in which order.
class Launch : public testing::Test {
  protected:
    Launch() {
        record.romPath = (dir / "roms").string();
        record.zsnesPath = (dir / "emu/zsnes.exe").string();
        record.savePath = (dir / "saves").string();
        record.screenSaver = false;
        writeFile(record.zsnesPath, "#!/bin/sh\n");
        fs::permissions(record.zsnesPath, fs::perms(0755));
        test::useRuntimeFolder(dir);
        fake.processes.onRun = [this](std::string_view) { launcher.command1Click(); };
    }
    Log launch(const std::string& game) {
        holders.texts["GmLabel"] = game;
        fake.log.clear();
        launcher.command1Click();
        return fake.log;
    }
    std::string config() { return readFile(dir / "emu/zsnes.cfg"); }

    QTemporaryDir temp;
    fs::path dir{temp.path().toStdString()};
    test::FakePlatform fake;
    test::FakeHolders holders;
    settings::SettingsRecord record;
    GameLauncher launcher{fake.platform, holders, record, [this] {
                              fake.log.push_back("save");
                              return true;
                          }};
};

TEST_F(Launch, SavesSwitchesTheSaverOffWritesTheConfigAndStartsTheEmulatorOnce) {
    holders.boxes["Check19"] = 1;
    const std::string emulator = record.zsnesPath;
    const std::string rom = record.romPath + "/Super Game.smc";
    // Re-entered from inside the run (a click while the game runs), nothing more is started.
    EXPECT_EQ(launch("Super Game.smc"),
              (Log{"save", "screen saver off",
                   "execute " + emulator + std::string(kDefaults) + " " + rom, "screen saver on"}));
    EXPECT_EQ(config(), "NewGfx = 1\r\nSaveDirectory = " + record.savePath + "\r\n");

    // Upper-case ZIP is a plain ROM; lower-case zip goes through the shell, and with no ROM
    // found in it the message follows the game. The saver is left alone when so set.
    record.screenSaver = true;
    EXPECT_EQ(launch("GAME.ZIP").at(1),
              "execute " + emulator + std::string(kDefaults) + " " + record.romPath + "/GAME.ZIP");
    // A missing archive: its report names no file, whose short form is empty.
    fake.shortNames.unknownIsMissing = true;
    fake.shortNames.names[emulator] = emulator;
    EXPECT_EQ(launch("game.zip"),
              (Log{"save", "aside", "shell /bin/sh -c " + emulator + std::string(kDefaults) + " ",
                   "message The ROM Image was not located in the ZIP file.  Check the Velmor "
                   "Readme file."}));
}

TEST_F(Launch, StopsWithAMessageBeforeWritingAnythingWhenTheGameOrEmulatorIsMissing) {
    writeFile(dir / "emu/zsnes.cfg", "kept");
    const auto stopped = [&](const std::string& game, const std::string& message) {
        SCOPED_TRACE(message);
        EXPECT_EQ(launch(game),
                  (Log{"save", "screen saver off", "message " + message, "screen saver on"}));
        EXPECT_EQ(config(), "kept");
    };
    stopped("", "You must choose a game");
    record.zsnesPath = "  ";
    stopped("a.smc",
            "No ZSNES executable is set.  Choose it on the Paths tab under ZSNES "
            "Executable.");
    record.zsnesPath = (dir / "emu/missing.exe").string();
    stopped("a.smc", "ZSNES was not found at " + record.zsnesPath +
                         "\n\nCheck the ZSNES Executable on the Paths tab.");
    record.zsnesPath = (dir / "emu/zsnes.exe").string();
    fs::permissions(record.zsnesPath, fs::perms(0644));
    if (::geteuid() != 0) {  // the superuser may run anything
        stopped("a.smc",
                "ZSNES at " + record.zsnesPath + " cannot be run: the file is not executable.");
    }
    fs::permissions(record.zsnesPath, fs::perms(0755));
    fs::remove(dir / "emu/zsnes.cfg");
    fs::create_directory(dir / "emu/zsnes.cfg");  // the configuration file cannot be written
    EXPECT_EQ(launch("a.smc").at(2), "message The ZSNES configuration file " +
                                         (dir / "emu/zsnes.cfg").string() +
                                         " could not be written.  Check that its folder can "
                                         "be written.");
}

// --- The real thing: real short names, real processes, a real (fake) emulator ---------------

using test::EmulatorRun;
using test::readRuns;

// The launcher with real processes and short names, the rest of the platform faked.
struct RealLaunch {
    explicit RealLaunch(settings::SettingsRecord settings = {}) : record(std::move(settings)) {}
    void click(const std::string& game) {
        holders.texts["GmLabel"] = game;
        launcher.command1Click();
    }
    settings::SettingsRecord record;
    test::FakePlatform fake;
    test::RealProcesses real{fake};
    test::FakeHolders holders;
    GameLauncher launcher{real.platform(), holders, record, [] { return true; }};
};

TEST(LaunchForReal, HostileNamesReachTheEmulatorAsExactlyTheWordsTheyShouldAndRunNothing) {
    test::TempFolder temp;
    const fs::path base = temp.path;
    test::useRuntimeFolder(base);
    setenv("FAKE_EMULATOR_LOG", (base / "log").c_str(), 1);
    // What a launch cut short left behind is cleared by the next zip launch, never launched.
    std::ofstream(platform::privateFolder("temp").value() / "LEFTOVER.smc") << "old";
    const fs::path working = fs::current_path();
    fs::current_path(base);  // where an injected "touch sentinel" would leave its file
    RealLaunch launch;

    const auto switches = [] {
        std::vector<std::string> words;
        std::istringstream in{std::string(kDefaults)};
        for (std::string word; in >> word;) {
            words.push_back(word);
        }
        return words;
    }();
    int count = 0;
    for (const std::string& name : test::hostileNames()) {
        SCOPED_TRACE(testing::PrintToString(name));
        const std::string tag = "case " + std::to_string(++count);
        fs::path roms = base / ("roms " + name);
        if (name == "deep one") {
            roms = base / "a b" / " c d " / "e\tf" / "g'h" / name;
        }
        const fs::path emulators = base / ("emu " + name);
        const fs::path saves = base / ("save " + name);
        for (const fs::path& folder : {roms, emulators, saves}) {
            ASSERT_TRUE(fs::create_directories(folder)) << folder;
        }
        fs::copy_file(FAKE_EMULATOR, emulators / "zsnes.exe");
        launch.record = {(emulators / "zsnes.exe").string(), roms.string(), "", saves.string(), ""};
        writeFile(roms / (name + ".smc"), "ROM " + tag);
        test::makeZip(roms / (name + ".zip"), "inside/" + name + ".smc", "ZIPPED ROM " + tag);

        for (const std::string& game : {name + ".smc", name + ".zip"}) {
            fs::remove(base / "log");
            launch.click(game);
            const std::vector<EmulatorRun> runs = readRuns(base / "log");
            ASSERT_EQ(runs.size(), 1U) << game;
            const EmulatorRun& run = runs.front();
            ASSERT_EQ(run.words.size(), switches.size() + 2) << testing::PrintToString(run.words);
            EXPECT_EQ(run.folder, base.string());  // Velmor's own, through the shell too
            EXPECT_EQ(run.contents.front().substr(0, 4),
                      "\x7f"
                      "ELF");
            EXPECT_EQ(std::vector<std::string>(run.words.begin() + 1, run.words.end() - 1),
                      switches);
            EXPECT_EQ(run.contents.back(), (game.ends_with("zip") ? "ZIPPED ROM " : "ROM ") + tag);
            for (const std::string& word : run.words) {
                EXPECT_EQ(word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvw"
                                                 "xyz0123456789/._-+,=@%:~"),
                          std::string::npos)
                    << testing::PrintToString(word);
            }
        }
        // The save folder reaches the configuration file in its short form, naming the folder.
        const std::string config = readFile(emulators / "zsnes.cfg");
        const std::string prefix = "NewGfx = 0\r\nSaveDirectory = ";
        ASSERT_TRUE(config.starts_with(prefix) && config.ends_with("\r\n"));
        EXPECT_TRUE(
            fs::equivalent(config.substr(prefix.size(), config.size() - prefix.size() - 2), saves));
    }
    EXPECT_TRUE(launch.fake.messages.shown.empty())
        << testing::PrintToString(launch.fake.messages.shown);
    EXPECT_FALSE(fs::exists(base / "sentinel"));
    // Everything extracted was removed after its game, and the leftover is gone.
    const auto extracted = platform::privateFolder("temp");
    ASSERT_TRUE(extracted);
    EXPECT_TRUE(fs::is_empty(*extracted));
    fs::current_path(working);
    unsetenv("XDG_RUNTIME_DIR");
}

TEST_F(Launch, AZipLaunchWithNothingUsableSaysWhyAndStartsNothing) {
    fs::create_directories(dir / "roms");
    test::makeZip(dir / "roms/bad.zip", "..", "x");
    EXPECT_EQ(launch("bad.zip"),
              (Log{"save", "screen saver off", "aside",
                   "message .. in the zip archive could not be taken out: no usable file name.  "
                   "The game was not started.",
                   "screen saver on"}));
    // The program quitting while the archive is extracted: nothing is started or said.
    test::makeZip(dir / "roms/good.zip", "GOOD.SMC", "rom");
    fake.events.quitAside = true;
    EXPECT_EQ(launch("good.zip"), (Log{"save", "screen saver off", "aside", "screen saver on"}));
    EXPECT_TRUE(fs::is_empty(dir / "runtime/velmor/temp"));
}

// A copy of the program for the test below: launches the zip game named by
// VELMOR_TEST_CHILD_GAME and waits for it, until it is killed.
TEST(LaunchForReal, ChildLaunch) {
    const char* game = std::getenv("VELMOR_TEST_CHILD_GAME");
    if (game == nullptr) {
        GTEST_SKIP() << "run by TheLockLastsAsLongAsTheGameEvenWhenTheProgramIsKilled";
    }
    const fs::path path(game);
    RealLaunch({FAKE_EMULATOR, path.parent_path().string(), "", "", ""})
        .click(path.filename().string());
}

bool lockHeld(const fs::path& file) {
    const platform::UniqueFd fd(::open(file.c_str(), O_RDWR | O_CLOEXEC));
    return fd && ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0;
}

// The game of a copy killed while it ran keeps the launch lock until it ends: no other launch
// extracts over it or clears its ROM, whatever the archive's members are called.
TEST(LaunchForReal, TheLockLastsAsLongAsTheGameEvenWhenTheProgramIsKilled) {
    QTemporaryDir temp;
    const fs::path base = temp.path().toStdString();
    test::useRuntimeFolder(base);
    setenv("FAKE_EMULATOR_LOG", (base / "log").c_str(), 1);
    fs::create_directories(base / "roms");
    const std::string archive = (base / "roms/game.zip").string();
    ASSERT_EQ(std::system(("cd " + base.string() + " && echo rom > GAME.SMC && echo x > temp.lock" +
                           " && echo y > .velmor-launch.lock && zip -q " + archive +
                           " GAME.SMC temp.lock .velmor-launch.lock")
                              .c_str()),
              0);
    const fs::path folder = base / "runtime/velmor/temp";
    const fs::path lock = base / "runtime/velmor/temp.lock";

    setenv("VELMOR_TEST_CHILD_GAME", archive.c_str(), 1);
    setenv("FAKE_EMULATOR_SLEEP_MS", "3000", 1);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl("/proc/self/exe", "launch_tests", "--gtest_filter=LaunchForReal.ChildLaunch",
                nullptr);
        ::_exit(127);
    }
    unsetenv("VELMOR_TEST_CHILD_GAME");
    unsetenv("FAKE_EMULATOR_SLEEP_MS");
    ASSERT_GT(child, 0);
    for (int i = 0; i < 400 && readRuns(base / "log").empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(readRuns(base / "log").size(), 1U);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);

    EXPECT_TRUE(lockHeld(lock));
    RealLaunch launch({FAKE_EMULATOR, (base / "roms").string(), "", "", ""});
    launch.click("game.zip");
    EXPECT_EQ(launch.fake.messages.shown,
              std::vector<std::string>{"A game started from a zip archive is still running.  Try "
                                       "again when it has ended."});
    EXPECT_EQ(readRuns(base / "log").size(), 1U);
    EXPECT_EQ(readFile(folder / "GAME.SMC"), "rom\n");  // still there for the running game

    // When the game ends, so does the lock, and the next launch runs and clears up after it.
    for (int i = 0; i < 400 && lockHeld(lock); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_FALSE(lockHeld(lock));
    launch.click("game.zip");
    EXPECT_EQ(readRuns(base / "log").size(), 2U);
    EXPECT_TRUE(fs::is_empty(folder));
    unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace velmor::launch
