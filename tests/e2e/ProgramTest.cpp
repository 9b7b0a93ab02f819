#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/StoreSql.h"

namespace {

const QStringList kAsNobody{"--reuid=65534", "--regid=65534", "--clear-groups"};

// The real program, run off screen against a store of its own.
class Program : public testing::Test {
  protected:
    QString store() const { return dir.filePath(QStringLiteral("conf/registry.db")); }

    void start(QStringList arguments = {}, bool exitAtFirstPaint = false, bool asNobody = false) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELMOR_REGISTRY"), store());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
        env.remove(QStringLiteral("DISPLAY"));
        for (const auto& [name, value] : environment) {
            value.isNull() ? env.remove(name) : env.insert(name, value);
        }
        if (exitAtFirstPaint) {
            env.insert(QStringLiteral("VELMOR_EXIT_AT_FIRST_PAINT"), QStringLiteral("1"));
        }
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (captureErrors) {
            process.setProcessChannelMode(QProcess::SeparateChannels);
        }
        if (asNobody) {
            // The superuser writes anywhere: run the program as an ordinary user instead.
            process.start("setpriv", kAsNobody + QStringList{VELMOR_PROGRAM} + arguments);
        } else {
            process.start(QStringLiteral(VELMOR_PROGRAM), arguments);
        }
        ASSERT_TRUE(process.waitForStarted(10000));
    }

    // Runs SQL on the store as another tool would.
    std::vector<std::string> sql(const std::string& statement) {
        return velmor::test::sqlRows(store().toStdString(), statement);
    }
    // The stored text of the value of this name (each setting's own), or "<absent>".
    std::string value(const std::string& name) {
        return velmor::test::storedText(store().toStdString(), name);
    }
    void writeValue(const std::string& name, const std::string& text) {
        velmor::test::setStoredText(store().toStdString(), name, text);
    }

    // Waits until start-up has stored its last value.
    bool waitForStartUp() {
        for (int i = 0; i < 200; ++i) {
            if (value("Player 2 Input") != "<absent>") {
                return true;
            }
            QThread::msleep(50);
        }
        return false;
    }

    void terminate() {
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
    }

    QTemporaryDir dir;
    QProcess process;
    std::vector<std::pair<QString, QString>> environment;  // a null value removes the variable
    bool captureErrors = false;
};

TEST_F(Program, FirstRunStoresTheDefaultsAndASignalClosesItWithASave) {
    start();
    ASSERT_TRUE(waitForStartUp());
    EXPECT_EQ(value("CPU Cycles"), "100");
    EXPECT_EQ(value("CloseSPC"), "True");
    terminate();

    // A value changed behind the program's back is loaded at the next start and saved back
    // normalised when the program closes.
    writeValue("SPC Timer Seconds", "045");
    writeValue("Sound Enabled", "true");
    sql("DELETE FROM reg_values WHERE name = 'Player 2 Input'");  // its return marks start-up
    start();
    ASSERT_TRUE(waitForStartUp());
    terminate();
    EXPECT_EQ(value("SPC Timer Seconds"), "45");
    EXPECT_EQ(value("Sound Enabled"), "0");
}

TEST_F(Program, AStoreThatCannotBeCreatedStillLetsTheProgramRun) {
    const bool root = ::geteuid() == 0;
    if (root &&
        QProcess::execute("setpriv", kAsNobody + QStringList{"test", "-x", VELMOR_PROGRAM})) {
        GTEST_SKIP() << "an ordinary user cannot reach the program in this tree";
    }
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("conf")));
    ::chmod(dir.path().toUtf8().constData(), 0755);
    ::chmod(dir.filePath(QStringLiteral("conf")).toUtf8().constData(), 0555);
    start({}, true, root);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput()).startsWith("painted "));
    EXPECT_FALSE(QFile::exists(store()));
}

// Another program holding the store's write lock: a close waits for it a bounded time, and its
// save is made whole (the lock let go in time) or not at all (said on standard error), never
// in pieces.
TEST_F(Program, ACloseSavesWholeOrNothingWhileAnotherProgramHoldsTheStore) {
    const std::vector<std::string> names{"Sound Rate", "CPU Cycles", "Player 1 Input", "VSync"};
    const std::vector<std::string> saved{"0", "100", "1", "0"};
    captureErrors = true;
    for (const int holdMs : {3000, 9000}) {
        SCOPED_TRACE(holdMs);
        sql("DELETE FROM reg_values WHERE name = 'Player 2 Input'");  // its return marks start-up
        start();
        ASSERT_TRUE(waitForStartUp());
        sqlite3* db = nullptr;
        sqlite3_open(store().toUtf8().constData(), &db);
        const char* change =
            "BEGIN IMMEDIATE; UPDATE reg_values SET data = x'6f757400' WHERE name IN "
            "('Sound Rate', 'CPU Cycles', 'Player 1 Input', 'VSync')";
        ASSERT_EQ(sqlite3_exec(db, change, nullptr, nullptr, nullptr), SQLITE_OK);
        ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
        const bool endedWhileHeld = process.waitForFinished(holdMs);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        ASSERT_TRUE(endedWhileHeld || process.waitForFinished(10000));
        EXPECT_EQ(process.exitCode(), 0);
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        std::vector<std::string> found;
        for (const std::string& name : names) {
            found.push_back(value(name));
        }
        if (holdMs == 3000) {
            EXPECT_FALSE(endedWhileHeld);
            EXPECT_EQ(found, saved);
            EXPECT_FALSE(errors.contains("not saved")) << errors.toStdString();
        } else {
            EXPECT_TRUE(endedWhileHeld);  // within the bounded wait, the lock still held
            EXPECT_EQ(found, std::vector<std::string>(names.size(), "out"));
            EXPECT_TRUE(errors.contains("velmor: the settings were not saved"))
                << errors.toStdString();
        }
    }
}

TEST_F(Program, WithoutAUsableStoreOrDisplayItSaysWhy) {
    captureErrors = true;
    environment = {{"VELMOR_REGISTRY", "/dev/null"}};
    start();
    QThread::msleep(500);
    terminate();
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError())
                    .contains("/dev/null is not a regular file; running on the default settings"));
    EXPECT_FALSE(QFile::exists("/dev/null-journal"));
    EXPECT_FALSE(QFile::exists("/dev/null-wal"));

    for (const QString& display : {QString(), QStringLiteral(":97")}) {
        environment = {
            {"QT_QPA_PLATFORM", QString()}, {"DISPLAY", display}, {"WAYLAND_DISPLAY", QString()}};
        start();
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 1);
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(errors.count('\n'), 1) << errors.toStdString();
        EXPECT_TRUE(errors.startsWith("velmor: cannot open the display " +
                                      (display.isNull() ? "(DISPLAY is not set)" : display)))
            << errors.toStdString();
        EXPECT_TRUE(errors.contains("needs a graphical session"));
    }
}

// Start-up leaves alone what only a later action needs: it maps neither libzip (a zip launch)
// nor libxdo (keys for the player), nor what they bring along, and the screen saver's session
// bus, switched only by a launch, is not even connected to.
TEST_F(Program, StartUpMapsNoZipOrKeyLibraryAndLeavesTheSessionBusAlone) {
    const QByteArray busPath = dir.filePath(QStringLiteral("bus")).toUtf8();
    const int bus = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    ASSERT_GE(bus, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, busPath.constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(bus, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(bus, 8), 0);

    captureErrors = true;
    environment = {{"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QString::fromUtf8(busPath)},
                   {"LD_DEBUG", "files"}};
    start({}, true);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput()).startsWith("painted "));
    const QString loaded = QString::fromUtf8(process.readAllStandardError());
    ASSERT_TRUE(loaded.contains("libQt6Widgets.so")) << "the loader did not say what it loaded";
    for (const char* library : {"libzip.so", "libcrypto.so", "libxdo.so", "libXtst.so"}) {
        EXPECT_FALSE(loaded.contains(QLatin1String(library))) << library;
    }
    EXPECT_LT(::accept(bus, nullptr, nullptr), 0) << "start-up connected to the session bus";
    ::close(bus);
}

}  // namespace
