#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/Files.h"
#include "support/SpcMaker.h"
#include "support/StoreSql.h"
#include "support/XWindows.h"

namespace {

namespace fs = std::filesystem;

// The songs of the running velmor-spcplay processes (normally none or one).
std::vector<std::string> runningPlayers() {
    std::vector<std::string> songs;
    const fs::path player = fs::canonical(VELMOR_SPCPLAY);
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::error_code error;
        if (fs::read_symlink(entry.path() / "exe", error) != player) {
            continue;  // another program, or one that has ended
        }
        std::string words;
        std::getline(std::ifstream(entry.path() / "cmdline"), words, '\n');
        if (words.empty()) {
            continue;  // one that is ending, whose words are gone already
        }
        words.pop_back();  // the last word's terminating null
        songs.push_back(words.substr(words.rfind('\0') + 1));
    }
    return songs;
}

// Velmor with velmor-spcplay as its SPCPlay, opening a playlist from its command line as the file
// manager would, on a real X server where it finds the player's window by its title.
TEST(MusicWithVelmorSpcplay, PlaysAPlaylistOneSongAtATimeAndClosesTheLastOnExit) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        GTEST_SKIP() << "needs an X server";
    }
    QTemporaryDir dir;
    const QString store = dir.filePath("registry.db");
    QProcessEnvironment env = velmor::test::velmorEnvironment(store, dir.path());
    env.insert("PULSE_SERVER", "unix:/nonexistent/pulse");
    // A first run makes the store; then the player and a three-second song time go into it.
    ASSERT_TRUE(velmor::test::firstRun(VELMOR_PROGRAM, env));
    QProcess velmor;
    velmor.setProcessEnvironment(env);
    velmor::test::setStoredText(store.toStdString(), "SPCPlay Loc", VELMOR_SPCPLAY);
    velmor::test::setStoredText(store.toStdString(), "SPC Timer Seconds", "3");

    std::string playlist;
    std::vector<std::string> songs;
    for (const char* name : {"first.spc", "second.spc"}) {
        songs.push_back(dir.filePath(name).toStdString());
        velmor::test::writeFile(songs.back(), velmor::test::makeSpc(name, 60));
        playlist += "\"" + songs.back() + "\"\r\n";
    }
    velmor::test::writeFile(dir.filePath("list.spl").toStdString(), playlist);

    velmor.start(VELMOR_PROGRAM, {dir.filePath("list.spl")});
    ASSERT_TRUE(velmor.waitForStarted(10000));
    // Song one plays three seconds; after the one-second pause song two starts. Velmor is
    // closed while it plays.
    std::vector<std::string> heard;
    std::size_t most = 0;
    for (int tick = 0; tick < 300 && heard.size() < 2; ++tick, QThread::msleep(20)) {
        const auto now = runningPlayers();
        most = std::max(most, static_cast<std::size_t>(velmor::test::windowsTitled("SPCPLAY")));
        for (const std::string& song : now) {
            if (heard.empty() || heard.back() != song) {
                heard.push_back(song);
            }
        }
    }
    EXPECT_EQ(heard, songs);
    EXPECT_EQ(most, 1u) << "two player windows at once";
    QThread::msleep(500);
    velmor.terminate();
    ASSERT_TRUE(velmor.waitForFinished(10000));
    bool closed = false;
    for (int tick = 0; tick < 250 && !closed; ++tick, QThread::msleep(20)) {
        closed = runningPlayers().empty();
    }
    EXPECT_TRUE(closed) << "CloseSPC left the last player running";
}

}  // namespace
