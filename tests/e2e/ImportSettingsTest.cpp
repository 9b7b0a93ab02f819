#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "support/Files.h"
#include "support/StoreSql.h"

namespace {

namespace fs = std::filesystem;

// `velmor --import-settings` as a user runs it, against a store and a Wine prefix of its own.
class ImportCommand : public testing::Test {
  protected:
    struct Run {
        int code = -1;
        std::string out;
        std::string err;
    };

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const fs::path c = prefix() / "drive_c";
        velmor::test::writeFile(c / "Games/ZSNES/zsnesw.exe", "MZ");
        velmor::test::writeFile(c / "Pictures/Mario.png", "png");
        fs::create_directories(prefix() / "dosdevices");
        fs::create_symlink("../drive_c", prefix() / "dosdevices/c:");
        velmor::test::writeFile(prefix() / "system.reg", kSystemReg);
    }

    fs::path root() const { return fs::canonical(dir.path().toStdString()); }
    fs::path prefix() const { return root() / "prefix"; }
    fs::path store() const { return root() / "conf/registry.db"; }

    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VELMOR_REGISTRY", QString::fromStdString(store().string()));
        env.insert("HOME", dir.path());
        env.insert("WINEPREFIX", QString::fromStdString(prefix().string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("DBUS_SESSION_BUS_ADDRESS", "disabled:");
        env.remove("DISPLAY");
        return env;
    }

    Run import(const QStringList& arguments) const {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(VELMOR_PROGRAM, arguments);
        Run run;
        if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit) {
            run.code = process.exitCode();
        }
        run.out = process.readAllStandardOutput().toStdString();
        run.err = process.readAllStandardError().toStdString();
        return run;
    }
    Run import(const fs::path& file) const {
        return import({"--import-settings", QString::fromStdString(file.string())});
    }

    // A window on the same store, once it has loaded every setting.
    void startWindow(QProcess& window) {
        velmor::test::sqlRows(store(), "DELETE FROM reg_values WHERE name = 'Player 2 Input'");
        window.setProcessEnvironment(environment());
        window.start(VELMOR_PROGRAM, QStringList{});
        ASSERT_TRUE(window.waitForStarted(10000));
        for (int i = 0; i < 200 && value("Player 2 Input") == "<absent>"; ++i) {
            QThread::msleep(50);
        }
        ASSERT_NE(value("Player 2 Input"), "<absent>");
    }
    static void close(QProcess& window) {
        ::kill(static_cast<pid_t>(window.processId()), SIGTERM);
        ASSERT_TRUE(window.waitForFinished(10000));
        EXPECT_EQ(window.exitCode(), 0);
    }

    // The stored text of the value of this name, or "<absent>".
    std::string value(const std::string& name) const {
        return velmor::test::storedText(store(), name);
    }

    static constexpr const char* kSystemReg =
        "WINE REGISTRY Version 2\n"
        ";; All keys relative to \\\\Machine\n\n#arch=win32\n\n"
        "[Software\\\\Velmor\\\\Paths] 1700000000\n#time=1da0c1e2f3a4b5c\n"
        "\"ZSNES Location\"=\"C:\\\\games\\\\zsnes\\\\ZSNESW.EXE\"\n"
        "\"Rom Location\"=\"\\\\\\\\server\\\\roms\"\n\n"
        "[Software\\\\Velmor\\\\Options] 1700000000\n"
        "\"CPU Cycles\"=\"120\"\n"
        "\"Timing\"=dword:00000001\n\n"
        "[Software\\\\Velmor\\\\Picture Links] 1700000000\n"
        "\"Caf\\xe9.smc\"=\"c:\\\\PICTURES\\\\mario.png\"\n\n"
        "[Software\\\\Wine] 1700000000\n"
        "\"Version\"=\"win10\"\n";

    QTemporaryDir dir;
};

TEST_F(ImportCommand, TakesASystemRegThroughThePrefixsDrives) {
    const Run run = import(prefix() / "system.reg");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    for (const char* line : {"\nImported 3 settings and 1 picture link.\n",
                             "\nWindows paths turned into paths here: 2.\n",
                             "\nPaths kept as they were, with no drive for them here: 1\n"
                             "  Rom Location: \\\\server\\roms\n",
                             "\nSkipped: 1 value of other keys or names, 1 value of another "
                             "type, 0 deletions.\n"}) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << " in:\n" << run.out;
    }
    EXPECT_EQ(value("ZSNES Location"), (prefix() / "drive_c/Games/ZSNES/zsnesw.exe").string());
    EXPECT_EQ(value("Rom Location"), "\\\\server\\roms");
    EXPECT_EQ(value("CPU Cycles"), "120");
    EXPECT_EQ(value("Caf\u00e9.smc"), (prefix() / "drive_c/Pictures/Mario.png").string());
    EXPECT_EQ(value("Timing"), "<absent>");
    EXPECT_EQ(value("Version"), "<absent>");
}

TEST_F(ImportCommand, AFileThatCannotBeReadWholeChangesNothing) {
    ASSERT_EQ(import(prefix() / "system.reg").code, 0);
    const auto storeBytes = [&] {
        return velmor::test::readFile(store()) + velmor::test::readFile(store().string() + "-wal");
    };
    const std::string before = storeBytes();

    const fs::path broken = root() / "broken.reg";
    velmor::test::writeFile(broken,
                            "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Velmor\\Options]\r\n"
                            "\"CPU Cycles\"=\"140\"\r\n\"Timing\"=\"1\r\n");
    Run run = import(broken);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "velmor: " + broken.string() +
                           " line 5: a text without its closing quote; nothing was imported\n");

    // Past 64 MiB a file is refused unread; one of 64 MiB is read (and is no export).
    const fs::path large = root() / "large.reg";
    for (const auto& [size, message] :
         {std::pair{64 * 1024 * 1024 + 1, "larger than 64 MiB"},
          std::pair{64 * 1024 * 1024, "line 1: not a registry export"}}) {
        velmor::test::writeFile(large, "");
        ASSERT_EQ(::truncate(large.c_str(), size), 0);
        run = import(large);
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }

    run = import(QStringList{"--import-settings"});
    EXPECT_EQ(run.code, 2);
    EXPECT_TRUE(
        run.err.starts_with("velmor: --import-settings needs a file\nusage: velmor [FILE]\n"
                            "       velmor --import-settings FILE [--wine-prefix DIR]\n"))
        << run.err;
    EXPECT_EQ(storeBytes(), before);
    EXPECT_EQ(value("CPU Cycles"), "120");
}

TEST_F(ImportCommand, RefusedWhileAWindowHasTheStoreOpen) {
    QProcess first;
    QProcess second;
    startWindow(first);
    Run run = import(prefix() / "system.reg");
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("a Velmor window has the settings store " + store().string()),
              std::string::npos)
        << run.err;

    // Windows still share the store; the import waits for the last of them.
    startWindow(second);
    close(first);
    EXPECT_EQ(import(prefix() / "system.reg").code, 1);
    close(second);
    EXPECT_EQ(value("CPU Cycles"), "100");

    const fs::path otherPrefix = root() / "other";
    fs::create_directories(otherPrefix / "dosdevices");
    fs::create_symlink(prefix() / "drive_c", otherPrefix / "dosdevices/C:");
    run = import({"--wine-prefix", QString::fromStdString(otherPrefix.string()),
                  "--import-settings", QString::fromStdString((prefix() / "system.reg").string())});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(value("CPU Cycles"), "120");
    EXPECT_EQ(value("ZSNES Location"), (prefix() / "drive_c/Games/ZSNES/zsnesw.exe").string());
}

}  // namespace
