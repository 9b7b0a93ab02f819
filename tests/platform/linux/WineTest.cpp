// Windows programs through Wine: how a program is told by its header, the checks before it is
// started and their advice, and real launches of Windows stand-ins built by mingw-w64, run by the
// Wine of the machine in a prefix of the test run's own.

#include <gtest/gtest.h>
#include <sys/file.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "launch/GameLauncher.h"
#include "platform/UniqueFd.h"
#include "platform/linux/LinuxWine.h"
#include "platform/linux/ProgramKind.h"
#include "settings/SettingsRecord.h"
#include "support/FakeHolders.h"
#include "support/FakePlatform.h"
#include "support/Files.h"
#include "support/HostileNames.h"
#include "support/RealProcesses.h"
#include "support/StoreSql.h"
#include "support/XWindows.h"

namespace velmor::platform {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

// Sets an environment variable for as long as it lives, and puts the old value back.
class Setting final {
  public:
    Setting(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~Setting() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    Setting(const Setting&) = delete;
    Setting& operator=(const Setting&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(WindowsPrograms, AreToldByTheirHeaderAndCheckedWithAdviceBeforeAnythingRuns) {
    QTemporaryDir temp;
    const fs::path dir = temp.path().toStdString();
    const std::map<std::string, std::pair<std::string, ProgramKind>> files{
        {"elf",
         {"\x7f"
          "ELF\x02\x01\x01",
          ProgramKind::Native}},
        {"script", {"#!/bin/sh\nexit 0\n", ProgramKind::Native}},
        {"win32.exe", {test::windowsHeader(0x14C), ProgramKind::Windows32}},
        {"win64.exe", {test::windowsHeader(0x8664), ProgramKind::Windows64}},
        {"dos.exe", {test::windowsHeader(0), ProgramKind::Dos}},
        {"short", {"MZ", ProgramKind::Dos}},
        {"text.exe", {"hello", ProgramKind::Other}},
        {"empty", {"", ProgramKind::Other}},
    };
    for (const auto& [name, file] : files) {
        writeFile(dir / name, file.first);
        EXPECT_EQ(programKind(dir / name), file.second) << name;
    }
    EXPECT_EQ(programKind(dir), ProgramKind::Other);
    // An offset that points past the end or at a header cut short is a DOS program's.
    std::string cut = test::windowsHeader(0x14C).substr(0, 0x43);
    writeFile(dir / "cut.exe", cut);
    EXPECT_EQ(programKind(dir / "cut.exe"), ProgramKind::Dos);

    // A `wine` of the test's own, which says what Debian's says without wine32 and notes each
    // time it is asked, with the WINEDEBUG it was given.
    const fs::path bin = dir / "bin";
    writeFile(bin / "wine",
              "#!/bin/sh\necho \"${WINEDEBUG-unset}\" >> \"$0.asked\"\n"
              "echo 'it looks like wine32 is missing, you should install it.' >&2\n"
              "echo wine-8.0\n");
    fs::permissions(bin / "wine", fs::perms::owner_all);
    const Setting noWineDebug("WINEDEBUG", "-all");
    const Setting prefix("WINEPREFIX", (dir / "prefix").string());
    LinuxWine wine;
    const auto problem = [&](const std::string& name) {
        return programToRun((dir / name).string(), "ZSNES", "ZSNES Executable", wine).problem;
    };
    {
        const Setting path("PATH", (dir / "nowhere").string());
        EXPECT_NE(problem("win64.exe").find("sudo apt install wine"), std::string::npos);
        EXPECT_EQ(problem("elf").find("Wine"), std::string::npos);  // not asked for Linux ones
    }
    const Setting path("PATH", (dir / "nowhere").string() + ":" + bin.string());
    // The execute bit is not needed for a Windows program; a DOS program is refused.
    EXPECT_EQ(problem("win64.exe"), "");
    const ProgramToRun run = programToRun((dir / "win64.exe").string(), "ZSNES", "", wine);
    EXPECT_TRUE(run.windows);
    EXPECT_EQ(run.exe, fs::canonical(dir / "win64.exe"));
    EXPECT_NE(problem("win32.exe").find("sudo dpkg --add-architecture i386"), std::string::npos);
    EXPECT_NE(problem("dos.exe").find("is a DOS program"), std::string::npos);
    EXPECT_NE(problem("elf").find("is not executable"), std::string::npos);
    problem("win32.exe");
    // Asked once for the run, without the WINEDEBUG that would have hidden the hint.
    EXPECT_EQ(readFile(bin / "wine.asked"), "unset\n");

    // The prefix: absent is fine (Wine makes it); not a folder of the user's, or a drive Z: that
    // does not lead to the root, is not.
    writeFile(dir / "prefix", "");
    EXPECT_NE(problem("win64.exe").find("is not a folder of your own"), std::string::npos);
    fs::remove(dir / "prefix");
    fs::create_directories(dir / "prefix/dosdevices");
    fs::create_directory_symlink(dir, dir / "prefix/dosdevices/z:");
    EXPECT_NE(problem("win64.exe").find("drive Z: does not lead to the root folder"),
              std::string::npos);
    fs::remove(dir / "prefix/dosdevices/z:");
    fs::create_directory_symlink("/", dir / "prefix/dosdevices/z:");
    EXPECT_EQ(problem("win64.exe"), "");

    // The command: the real program first, WINEDEBUG quiet unless the user set it.
    const Command command = wine.command("/games/zsnesw.exe", {"-v", "7"});
    EXPECT_EQ(command.program, (bin / "wine").string());
    EXPECT_EQ(command.arguments, (std::vector<std::string>{"/games/zsnesw.exe", "-v", "7"}));
    EXPECT_TRUE(command.environment.empty());  // WINEDEBUG is set here
}

// --- Real launches of the Windows stand-ins ---------------------------------------------------

// The lines of the stand-in emulator's log that begin with `label`, the label taken off.
std::vector<std::string> logged(const std::string& log, std::string_view label) {
    std::vector<std::string> lines;
    std::istringstream in(log);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(label)) {
            lines.push_back(line.substr(label.size()));
        }
    }
    return lines;
}

TEST(WindowsEmulator, HostileNamesReachItThroughBothLaunchesAndItsSavesLandInTheSaveFolder) {
    QTemporaryDir temp;
    const fs::path base = temp.path().toStdString();
    test::useRuntimeFolder(base);
    const fs::path working = fs::current_path();
    fs::current_path(base);  // where an injected "touch sentinel" would leave its file

    // One Wine server for the whole run: left to itself it ends a few seconds after a program,
    // and a start that meets it ending fails.
    QProcess::execute(QStringLiteral("wineserver"), {QStringLiteral("-p")});
    test::FakePlatform fake;
    test::RealProcesses real(fake);
    test::FakeHolders holders;
    settings::SettingsRecord record;
    launch::GameLauncher launcher(real.platform(), holders, record, [] { return true; });
    int count = 0;
    for (const std::string& name : test::hostileNames()) {
        SCOPED_TRACE(testing::PrintToString(name));
        const std::string tag = "case " + std::to_string(++count);
        const fs::path roms = base / ("roms " + name);
        const fs::path emulators = base / ("emu " + name);
        const fs::path saves = base / ("save " + name);
        for (const fs::path& folder : {roms, emulators, saves}) {
            ASSERT_TRUE(fs::create_directories(folder)) << folder;
        }
        fs::copy_file(WINDOWS_EMULATOR, emulators / "zsnesw.exe");
        // Set by a link, started by its real path: its configuration lies beside the real one.
        fs::create_symlink(emulators / "zsnesw.exe", base / ("link " + std::to_string(count)));
        record = {(base / ("link " + std::to_string(count))).string(), roms.string(), "",
                  saves.string(), ""};
        writeFile(roms / (name + ".smc"), "ROM " + tag + "\n");
        test::makeZip(roms / (name + ".zip"), name + ".smc", "ZIPPED ROM " + tag + "\n");
        for (const std::string& game : {name + ".smc", name + ".zip"}) {
            fs::remove(emulators / "emulator.log");
            fs::remove(saves / "saved.srm");
            holders.texts["GmLabel"] = game;
            launcher.command1Click();
            const std::string log = readFile(emulators / "emulator.log");
            ASSERT_FALSE(log.empty()) << game << testing::PrintToString(fake.messages.shown);
            const std::vector<std::string> words = logged(log, "argument: ");
            ASSERT_FALSE(words.empty());
            EXPECT_EQ(words.front(), "-1");
            for (const std::string& word : words) {
                EXPECT_EQ(word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvw"
                                                 "xyz0123456789\\._-+,=@%:~"),
                          std::string::npos)
                    << word;
                EXPECT_EQ(word.find(':'), word.starts_with("Z:") ? 1 : std::string::npos) << word;
            }
            const std::string wanted = (game.ends_with("zip") ? "ZIPPED ROM " : "ROM ") + tag;
            EXPECT_EQ(logged(log, "game: "), std::vector<std::string>{wanted});
            EXPECT_EQ(logged(log, "config: ").front(), "NewGfx = 0");
            EXPECT_EQ(logged(log, "save: ").size(), 1U);
            EXPECT_EQ(readFile(saves / "saved.srm"), wanted);
        }
    }
    EXPECT_TRUE(fake.messages.shown.empty()) << testing::PrintToString(fake.messages.shown);
    EXPECT_FALSE(fs::exists(base / "sentinel"));
    // The game's lock is free once the game has ended, and the extraction folder is empty.
    const auto extracted = platform::privateFolder("temp");
    ASSERT_TRUE(extracted);
    EXPECT_TRUE(fs::is_empty(*extracted));
    const UniqueFd lock(::open((extracted->parent_path() / "temp.lock").c_str(), O_RDWR));
    EXPECT_EQ(::flock(lock.get(), LOCK_EX | LOCK_NB), 0);
    fs::current_path(working);
    unsetenv("XDG_RUNTIME_DIR");
    fs::remove_all(base);  // names that are not UTF-8 are beyond QTemporaryDir
    QProcess::execute(QStringLiteral("wineserver"), {QStringLiteral("-k")});
}

// --- The player through Wine, driven by Velmor on a real X server ----------------------------

TEST(WindowsPlayer, PlaysAPlaylistMinimisedOnePlayerAtATimeClosedByItsKeys) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "needs an X server";
    }
    QTemporaryDir dir;
    const fs::path base = dir.path().toStdString();
    const QString store = dir.filePath("registry.db");
    const QProcessEnvironment env = test::velmorEnvironment(store, dir.path());
    ASSERT_TRUE(test::firstRun(VELMOR_PROGRAM, env));
    QProcess velmor;
    velmor.setProcessEnvironment(env);
    fs::create_directory(base / "player folder");
    const fs::path player = base / "player folder/spcplay.exe";
    fs::copy_file(WINDOWS_PLAYER, player);
    test::setStoredText(store.toStdString(), "SPCPlay Loc", player.string());
    test::setStoredText(store.toStdString(), "SPC Timer Seconds", "8");
    std::string playlist;
    for (const char* name : {"first song.spc", "second.spc"}) {
        writeFile(base / name, "SNES-SPC700 Sound File Data v0.30");
        playlist += "\"" + (base / name).string() + "\"\r\n";
    }
    writeFile(base / "list.spl", playlist);

    velmor.start(VELMOR_PROGRAM, {dir.filePath("list.spl")});
    ASSERT_TRUE(velmor.waitForStarted(10000));
    const fs::path log = base / "player folder/player.log";
    // Velmor is closed once the second song has played a second.
    int most = 0;
    int secondPlaying = 0;
    for (int tick = 0; tick < 1200 && logged(readFile(log), "").size() < 12; ++tick) {
        most = std::max(most, test::windowsTitled("SPCPLAY"));
        QThread::msleep(25);
        const std::string text = readFile(log);
        const std::size_t second = text.find("second.spc");
        if (second != std::string::npos && text.find("song: opened", second) != std::string::npos &&
            ++secondPlaying == 40) {
            velmor.terminate();
        }
    }
    velmor.waitForFinished(10000);
    const std::string text = readFile(log);
    std::vector<std::string> events;
    for (std::string line : logged(text, "")) {
        events.push_back(line.substr(line.find(' ') + 1));  // without the process number
    }
    const std::vector<std::string> expected{"started: -r 3 " + std::string("Z:") + "",
                                            "show: 2 2",
                                            "song: opened",
                                            "Return",
                                            "Tab",
                                            "closed"};
    ASSERT_EQ(events.size(), 12U) << text;
    for (std::size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        if (i % 6 == 0) {
            EXPECT_TRUE(events[i].starts_with("started: ") &&
                        events[i].find(" Z:\\") != std::string::npos)
                << events[i];
        } else {
            EXPECT_EQ(events[i], expected[i % 6]);
        }
    }
    EXPECT_EQ(most, 1);
    QProcess::execute(QStringLiteral("wineserver"), {QStringLiteral("-k")});  // nothing left over
}

}  // namespace
}  // namespace velmor::platform
