#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/linux/X11PlayerWindow.h"
#include "support/Files.h"
#include "support/Processes.h"
#include "support/SpcMaker.h"
#include "support/XSession.h"

namespace velmor::spcplay {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::within5s;

// The exit code once the process has ended within five seconds.
std::optional<int> ended(pid_t pid) {
    int status = 0;
    if (!within5s([&] { return waitpid(pid, &status, WNOHANG) == pid; })) {
        return std::nullopt;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool running(pid_t pid) {
    usleep(300000);  // time to act on what it was sent
    return waitpid(pid, nullptr, WNOHANG) == 0;
}

// The real player under X, driven as Velmor drives it. There is never a sound server: the
// player must go on without one.
class PlayerProgram : public testing::Test {
  protected:
    static void SetUpTestSuite() { s_x = std::make_unique<test::XSession>(); }
    static void TearDownTestSuite() { s_x.reset(); }

    void SetUp() override {
        if (s_x->display() == nullptr) {
            GTEST_SKIP() << "needs an X server";
        }
        // A socket folder of this run's own, and a sound server that is never there.
        setenv("XDG_RUNTIME_DIR", m_dir.path.c_str(), 1);
        setenv("PULSE_SERVER", "unix:/nonexistent/pulse", 1);
        test::writeFile(song, test::makeSpc("Tone", 30));
    }
    void TearDown() override { std::ranges::for_each(m_players, test::killProcess); }

    pid_t start(const fs::path& file) {
        m_players.push_back(
            test::spawnProcess({VELMOR_SPCPLAY, "-z", "-r", "3", file.string()}, errors));
        return m_players.back();
    }
    // Finds the player's window as Velmor does and sends it the keys.
    bool send(const std::vector<std::string_view>& keys) {
        platform::X11PlayerWindow window;
        return within5s([&] { return window.activate("SPCPLAY"); }) && window.sendKeys(keys);
    }

    test::TempFolder m_dir;
    const fs::path song = m_dir.path / "tone.spc";
    const fs::path errors = m_dir.path / "errors.txt";
    std::vector<pid_t> m_players;
    static inline std::unique_ptr<test::XSession> s_x;
};

TEST_F(PlayerProgram, ReturnStopsTheSongAndTabClosesTheProgram) {
    const pid_t player = start(song);
    ASSERT_TRUE(send({"Return", "Return"}));  // Velmor's Play: the player stays
    EXPECT_TRUE(running(player));
    ASSERT_TRUE(send({"Return", "Tab"}));  // Velmor's Next and Stop
    EXPECT_EQ(ended(player), 0);
    EXPECT_EQ(readFile(errors),
              "velmor-spcplay: no sound device (is PulseAudio or PipeWire running?)\n");
}

TEST_F(PlayerProgram, ASecondStartClosesTheFirst) {
    const pid_t first = start(song);
    ASSERT_TRUE(send({}));  // its window is up
    const pid_t second = start(song);
    EXPECT_EQ(ended(first), 0);
    EXPECT_TRUE(running(second));
    ASSERT_TRUE(send({"Tab"}));
    EXPECT_EQ(ended(second), 0);
    EXPECT_FALSE(platform::X11PlayerWindow().activate("SPCPLAY")) << "a window was left behind";
}

TEST_F(PlayerProgram, AFileThatCannotPlayStillGivesAWindowThatTabCloses) {
    test::writeFile(m_dir.path / "damaged.spc", std::string(0x10200, 'x'));
    fs::create_directory(m_dir.path / "folder.spc");
    for (const char* name : {"damaged.spc", "folder.spc", "missing.spc"}) {
        const pid_t player = start(m_dir.path / name);
        ASSERT_TRUE(send({"Tab"})) << name;
        EXPECT_EQ(ended(player), 0) << name;
        const std::string said = readFile(errors);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(name), std::string::npos) << said;
    }
    // Without an X server there is nothing to answer the keys: one line, exit code 1.
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    const pid_t headless = start(song);
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(ended(headless), 1);
    EXPECT_EQ(readFile(errors), "velmor-spcplay: cannot open the X display (DISPLAY is not set)\n");
}

TEST_F(PlayerProgram, APipeIsRefusedAtOnceAndHoldsUpNoOtherPlayer) {
    // Opened for reading, a pipe waits for a writer that never comes: the player must not.
    const fs::path pipe = m_dir.path / "pipe.spc";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const pid_t refused = start(pipe);
    ASSERT_TRUE(send({})) << "no window";
    EXPECT_EQ(readFile(errors),
              "velmor-spcplay: " + pipe.string() + ": is a named pipe, not an SPC file\n");
    // The next song closes it as it closes any other player.
    const pid_t next = start(song);
    EXPECT_EQ(ended(refused), 0);
    EXPECT_TRUE(running(next));
    ASSERT_TRUE(send({"Tab"}));
    EXPECT_EQ(ended(next), 0);
}

TEST_F(PlayerProgram, ASongWhoseNameIsNotUtf8Plays) {
    const fs::path named = m_dir.path / "caf\xe9 \xff.spc";  // Latin-1 and a stray byte
    fs::rename(song, named);
    const pid_t player = start(named);
    ASSERT_TRUE(send({"Tab"}));
    EXPECT_EQ(ended(player), 0);
    // Only the missing sound server to complain of: the file was found and read.
    EXPECT_EQ(readFile(errors),
              "velmor-spcplay: no sound device (is PulseAudio or PipeWire running?)\n");
}

}  // namespace
}  // namespace velmor::spcplay
