#include "launch/GameLauncher.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

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

// Names for the ROM, the emulator's and the save folders. "deep one" lies deep below folders of
// hostile names of their own.
std::vector<std::string> hostileNames() {
    using namespace std::string_literals;
    return {"with blank"s,
            "tab\there"s,
            "double\"quote"s,
            "single'quote"s,
            "semi;touch sentinel;"s,
            "amp&&touch sentinel&"s,
            "pipe|touch sentinel"s,
            "$(touch sentinel)"s,
            "`touch sentinel`"s,
            "star*"s,
            "question?"s,
            "~tilde"s,
            "#hash"s,
            "bang!"s,
            "{a,b}"s,
            "<less"s,
            "greater>"s,
            "new\nline\ntouch sentinel\n"s,
            "ctrl\x01char"s,
            "-leading-dash"s,
            " leading blank"s,
            "trailing blank "s,
            "\xff\xfe not utf-8 \xe9"s,
            std::string(200, 'x'),
            "back\\slash"s,
            "dollar$HOME"s,
            "${IFS}touch${IFS}sentinel"s,
            "colon:name"s,
            "paren(1)"s,
            "brackets[1]"s,
            "caret^and%"s,
            "plain"s,
            "\xe3\x83\x9e\xe3\x83\xaa\xe3\x82\xaa"s,
            ">sentinel"s,
            "deep one"s};
}

using test::EmulatorRun;
using test::readRuns;

void makeZip(const fs::path& archive, const std::string& member, const std::string& bytes) {
    int error = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
    ASSERT_GE(zip_file_add(zip, member.c_str(), source, ZIP_FL_ENC_RAW), 0);
    ASSERT_EQ(zip_close(zip), 0);
}

TEST(LaunchForReal, HostileNamesReachTheEmulatorAsExactlyTheWordsTheyShouldAndRunNothing) {
    QTemporaryDir temp;
    const fs::path base = temp.path().toStdString();
    test::useRuntimeFolder(base);
    setenv("FAKE_EMULATOR_LOG", (base / "log").c_str(), 1);
    // What a launch cut short left behind is cleared by the next zip launch, never launched.
    std::ofstream(platform::privateFolder("temp").value() / "LEFTOVER.smc") << "old";
    const fs::path working = fs::current_path();
    fs::current_path(base);  // where an injected "touch sentinel" would leave its file

    test::FakePlatform fake;
    test::RealProcesses real(fake);
    test::FakeHolders holders;
    settings::SettingsRecord record;
    GameLauncher launcher(real.platform(), holders, record, [] { return true; });

    const auto switches = [] {
        std::vector<std::string> words;
        std::istringstream in{std::string(kDefaults)};
        for (std::string word; in >> word;) {
            words.push_back(word);
        }
        return words;
    }();
    int count = 0;
    for (const std::string& name : hostileNames()) {
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
        record = {(emulators / "zsnes.exe").string(), roms.string(), "", saves.string(), ""};
        writeFile(roms / (name + ".smc"), "ROM " + tag);
        makeZip(roms / (name + ".zip"), "inside/" + name + ".smc", "ZIPPED ROM " + tag);

        for (const std::string& game : {name + ".smc", name + ".zip"}) {
            fs::remove(base / "log");
            holders.texts["GmLabel"] = game;
            launcher.command1Click();
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
    EXPECT_TRUE(fake.messages.shown.empty()) << testing::PrintToString(fake.messages.shown);
    EXPECT_FALSE(fs::exists(base / "sentinel"));
    // Everything extracted was removed after its game, and the leftover is gone.
    const auto extracted = platform::privateFolder("temp");
    ASSERT_TRUE(extracted);
    EXPECT_TRUE(fs::is_empty(*extracted));
    fs::current_path(working);
    unsetenv("XDG_RUNTIME_DIR");
    fs::remove_all(base);  // names that are not UTF-8 are beyond QTemporaryDir
}

TEST_F(Launch, AZipLaunchWithNothingUsableSaysWhyAndStartsNothing) {
    fs::create_directories(dir / "roms");
    makeZip(dir / "roms/bad.zip", "..", "x");
    EXPECT_EQ(launch("bad.zip"),
              (Log{"save", "screen saver off", "aside",
                   "message .. in the zip archive could not be taken out: no usable file name.  "
                   "The game was not started.",
                   "screen saver on"}));
    // The program quitting while the archive is extracted: nothing is started or said.
    makeZip(dir / "roms/good.zip", "GOOD.SMC", "rom");
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
    test::FakePlatform fake;
    test::RealProcesses real(fake);
    test::FakeHolders holders;
    const fs::path path(game);
    settings::SettingsRecord record{FAKE_EMULATOR, path.parent_path().string(), "", "", ""};
    holders.texts["GmLabel"] = path.filename().string();
    GameLauncher(real.platform(), holders, record, [] { return true; }).command1Click();
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
    test::FakePlatform fake;
    test::RealProcesses real(fake);
    test::FakeHolders holders;
    holders.texts["GmLabel"] = "game.zip";
    settings::SettingsRecord record{FAKE_EMULATOR, (base / "roms").string(), "", "", ""};
    GameLauncher launcher(real.platform(), holders, record, [] { return true; });
    launcher.command1Click();
    EXPECT_EQ(fake.messages.shown,
              std::vector<std::string>{"A game started from a zip archive is still running.  Try "
                                       "again when it has ended."});
    EXPECT_EQ(readRuns(base / "log").size(), 1U);
    EXPECT_EQ(readFile(folder / "GAME.SMC"), "rom\n");  // still there for the running game

    // When the game ends, so does the lock, and the next launch runs and clears up after it.
    for (int i = 0; i < 400 && lockHeld(lock); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_FALSE(lockHeld(lock));
    launcher.command1Click();
    EXPECT_EQ(readRuns(base / "log").size(), 2U);
    EXPECT_TRUE(fs::is_empty(folder));
    unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace velmor::launch
