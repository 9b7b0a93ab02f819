#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <string>

namespace {

const QStringList kAsNobody{"--reuid=65534", "--regid=65534", "--clear-groups"};

// The real program, run off screen against a store of its own.
class Program : public testing::Test {
  protected:
    QString store() const { return dir.filePath(QStringLiteral("conf/registry.db")); }

    void start(QStringList arguments = {}, bool exitOnExpose = false, bool asNobody = false) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELMOR_REGISTRY"), store());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
        env.remove(QStringLiteral("DISPLAY"));
        if (exitOnExpose) {
            env.insert(QStringLiteral("VELMOR_EXIT_ON_EXPOSE"), QStringLiteral("1"));
        }
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (asNobody) {
            // The superuser writes anywhere: run the program as an ordinary user instead.
            process.start("setpriv", kAsNobody + QStringList{VELMOR_PROGRAM} + arguments);
        } else {
            process.start(QStringLiteral(VELMOR_PROGRAM), arguments);
        }
        ASSERT_TRUE(process.waitForStarted(10000));
    }

    // Runs SQL on the store as another tool would; the first column of the last row, if any.
    std::string sql(const std::string& statement) {
        sqlite3* db = nullptr;
        std::string result = "<absent>";
        sqlite3_open(store().toUtf8().constData(), &db);
        sqlite3_busy_timeout(db, 5000);
        sqlite3_exec(
            db, statement.c_str(),
            [](void* out, int, char** columns, char**) {
                *static_cast<std::string*>(out) = columns[0] ? columns[0] : "";
                return 0;
            },
            &result, nullptr);
        sqlite3_close(db);
        return result;
    }
    std::string value(const std::string& key, const std::string& name) {
        return sql(
            "SELECT CAST(substr(data, 1, length(data) - 1) AS TEXT) FROM reg_values"
            " WHERE key = 'HKEY_LOCAL_MACHINE\\Software\\Velmor\\" +
            key + "' AND name = '" + name + "'");
    }
    void writeValue(const std::string& name, const std::string& text) {
        sql("UPDATE reg_values SET data = CAST('" + text + "' AS BLOB) || x'00' WHERE name = '" +
            name + "'");
    }

    // Waits until start-up has stored its last value.
    bool waitForStartUp() {
        for (int i = 0; i < 200; ++i) {
            if (value("Input", "Player 2 Input") != "<absent>") {
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
};

TEST_F(Program, FirstRunStoresTheDefaultsAndASignalClosesItWithASave) {
    start();
    ASSERT_TRUE(waitForStartUp());
    EXPECT_EQ(value("Options", "CPU Cycles"), "100");
    EXPECT_EQ(value("Options", "CloseSPC"), "True");
    terminate();

    // A value changed behind the program's back is loaded at the next start and saved back
    // normalised when the program closes.
    writeValue("SPC Timer Seconds", "045");
    writeValue("Sound Enabled", "true");
    sql("DELETE FROM reg_values WHERE name = 'Player 2 Input'");  // its return marks start-up
    start();
    ASSERT_TRUE(waitForStartUp());
    terminate();
    EXPECT_EQ(value("Options", "SPC Timer Seconds"), "45");
    EXPECT_EQ(value("Sound", "Sound Enabled"), "0");
}

TEST_F(Program, ADamagedStoreIsSetAsideAndAFreshOneStarted) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("conf")));
    QFile garbage(store());
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(8192, '\x5a'));
    garbage.close();
    start();
    ASSERT_TRUE(waitForStartUp());
    terminate();
    const QStringList aside = QDir(dir.filePath(QStringLiteral("conf")))
                                  .entryList({QStringLiteral("registry.db.damaged-*")});
    ASSERT_EQ(aside.size(), 1);
    QFile kept(dir.filePath(QStringLiteral("conf/") + aside.front()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray(8192, '\x5a'));
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
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput()).startsWith("exposed "));
    EXPECT_FALSE(QFile::exists(store()));
}

}  // namespace
