// Two running copies of the program saving into one store at the same time, played by two
// store_writer processes.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>
#include <array>
#include <set>

#include "support/RawSqlite.h"
#include "support/StampHolders.h"

namespace velmor::test {
namespace {

constexpr int kTimeoutMs = 240000;

class Writers {
  public:
    Writers(const std::filesystem::path& file, const char* mode, int count) {
        for (int copy = 0; copy < 2; ++copy) {
            processes_[copy].setProcessChannelMode(QProcess::ForwardedErrorChannel);
            processes_[copy].start(VELMOR_STORE_WRITER,
                                   {QString::fromStdString(file.string()), mode,
                                    QString::number(copy + 1), QString::number(count)});
        }
    }
    ~Writers() {
        for (QProcess& process : processes_) {
            if (process.state() != QProcess::NotRunning) {
                process.kill();
                process.waitForFinished();
            }
        }
    }
    Writers(const Writers&) = delete;
    Writers& operator=(const Writers&) = delete;

    bool running() {
        bool any = false;
        for (QProcess& process : processes_) {
            const bool finished = process.waitForFinished(1);
            any = any || (!finished && process.state() != QProcess::NotRunning);
        }
        return any;
    }
    void expectCleanExits() {
        for (QProcess& process : processes_) {
            if (process.state() != QProcess::NotRunning) {
                ASSERT_TRUE(process.waitForFinished(kTimeoutMs));
            }
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(process.exitCode(), 0);
        }
    }

  private:
    std::array<QProcess, 2> processes_;
};

// Which pass of which copy a stored catalogue is wholly from, or {-1, -1} when it is mixed or
// incomplete.
std::pair<int, int> wholePass(const std::vector<std::string>& stored) {
    if (stored.front() == "<absent>") {
        return {-1, -1};
    }
    const std::string& lastGame = stored.front();
    const auto [copy, pass] = StampHolders::parseStamp(lastGame.substr(0, lastGame.size() - 1));
    if (copy < 0 || stored != storedTextsOfPass(copy, pass)) {
        return {-1, -1};
    }
    return {copy, pass};
}

TEST(SqliteRegistryConcurrency, TwoCopiesSavingAtOnceNeverMixTheirSaves) {
    constexpr int kPasses = 300;
    TempStore temp;
    QElapsedTimer clock;
    clock.start();
    Writers writers(temp.file(), "save", kPasses);

    // While they run, every snapshot that holds a save at all holds one whole save.
    int snapshots = 0;
    std::set<int> copiesSeen;
    while (writers.running() && clock.elapsed() < kTimeoutMs) {
        if (!std::filesystem::exists(temp.file())) {
            continue;
        }
        RawSqlite observer(temp.file());
        for (int n = 0; n < 20 && observer.ok(); ++n) {
            const auto stored = observer.storedCatalogue();
            if (stored.front() == "<absent>") {
                continue;
            }
            const auto [copy, pass] = wholePass(stored);
            ASSERT_GE(copy, 1) << "a snapshot mixes saves";
            copiesSeen.insert(copy);
            ++snapshots;
        }
    }
    writers.expectCleanExits();

    RawSqlite observer(temp.file());
    const auto [copy, pass] = wholePass(observer.storedCatalogue());
    ASSERT_GE(copy, 1) << "the store ends with a mixed or incomplete save";
    // The save that committed last is the last pass of one of the copies.
    EXPECT_EQ(pass, kPasses - 1);
    EXPECT_GT(snapshots, 0);
    RecordProperty("snapshots", snapshots);
    RecordProperty("copies_seen", static_cast<int>(copiesSeen.size()));
}

TEST(SqliteRegistryConcurrency, NoSingleWriteOfEitherCopyIsLost) {
    constexpr int kWrites = 500;
    TempStore temp;
    {
        Writers writers(temp.file(), "single", kWrites);
        writers.expectCleanExits();
    }
    RawSqlite observer(temp.file());
    const auto rows = observer.column("SELECT name || '=' || data FROM reg_values");
    ASSERT_TRUE(rows);
    const std::set<std::string> stored(rows->begin(), rows->end());
    EXPECT_EQ(stored.size(), 2u * kWrites);
    for (int copy = 1; copy <= 2; ++copy) {
        for (int n = 0; n < kWrites; ++n) {
            const std::string name = "copy" + std::to_string(copy) + "-" + std::to_string(n);
            EXPECT_TRUE(stored.contains(name + "=" + name + '\0')) << name;
        }
    }
}

}  // namespace
}  // namespace velmor::test
