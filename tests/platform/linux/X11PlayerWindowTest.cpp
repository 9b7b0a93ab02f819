#include "platform/linux/X11PlayerWindow.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <memory>

#include "support/Files.h"
#include "support/Processes.h"
#include "support/XSession.h"

// Last: the X11 headers define macros that clash with ordinary names.
#include <X11/Xlib.h>

namespace velmor::platform {
namespace {

using test::killProcess;

struct Player {
    std::filesystem::path out;
    pid_t pid;
    // What the player was sent, after the "ready\n" that it writes itself.
    std::string keys() const { return test::readFile(out).erase(0, 6); }
};

class X11PlayerWindowTest : public testing::Test {
  protected:
    static void SetUpTestSuite() { s_x = std::make_unique<test::XSession>(); }
    static void TearDownTestSuite() { s_x.reset(); }

    void SetUp() override {
        if (s_x->display() == nullptr) {
            GTEST_SKIP() << "needs an X server";
        }
    }
    void TearDown() override { std::ranges::for_each(m_players, killProcess); }

    Player start(const std::string& windowTitle, const char* state = "normal") {
        Player player{m_dir.path / std::to_string(m_players.size()), 0};
        player.pid =
            test::spawnProcess({FAKE_PLAYER_WINDOW, player.out.string(), windowTitle, state});
        m_players.push_back(player.pid);
        EXPECT_TRUE(test::within5s([&] { return !test::readFile(player.out).empty(); }))
            << windowTitle;
        return player;
    }

    static inline std::unique_ptr<test::XSession> s_x;
    test::TempFolder m_dir;
    std::vector<pid_t> m_players;
    // Unique, so that windows of other test runs on the same display never match.
    const std::string m_title = "SPCPLAY-" + std::to_string(getpid());
};

TEST_F(X11PlayerWindowTest, ExactTitleReceivesTheKeysInOrder) {
    const Player player = start(m_title);
    X11PlayerWindow window;
    ASSERT_TRUE(window.activate(m_title));
    EXPECT_FALSE(window.sendKeys({"Return", "{enter}"})) << "an unknown key sends none of the list";
    EXPECT_TRUE(window.sendKeys({"Return", "Tab"}));
    EXPECT_EQ(player.keys(), "Return\nTab\n");
}

// Only _NET_WM_NAME holds this title readably: WM_NAME has its UTF-8 bytes as Latin-1.
TEST_F(X11PlayerWindowTest, MinimisedPlayerIsFoundWithoutRegardToCaseInItsUtf8Name) {
    const Player player = start("Écoute Σφ " + m_title, "iconic");
    X11PlayerWindow window;
    ASSERT_TRUE(window.activate("éCOUTE σΦ " + m_title));
    EXPECT_TRUE(window.sendKeys({"Tab"}));
    EXPECT_EQ(player.keys(), "Tab\n");
}

TEST_F(X11PlayerWindowTest, ExactTitleWinsOverALongerOneAboveItThatIsUsedWhenNoneIsExact) {
    const Player exact = start(m_title);
    const Player song = start(m_title + " - SONG1.SPC");  // mapped later: higher in the stack
    X11PlayerWindow window;
    ASSERT_TRUE(window.activate(m_title));
    ASSERT_TRUE(window.sendKeys({"Return"}));
    ASSERT_TRUE(window.activate(m_title + " - song"));
    ASSERT_TRUE(window.sendKeys({"space"}));
    EXPECT_EQ(exact.keys(), "Return\n");
    EXPECT_EQ(song.keys(), "space\n");
}

TEST_F(X11PlayerWindowTest, MissingWindowIsNotActivatedAndGetsNoKeys) {
    const Player other = start("The " + m_title);  // contains the name without beginning with it
    X11PlayerWindow window;
    EXPECT_FALSE(window.sendKeys({"Return"})) << "nothing activated yet";
    EXPECT_FALSE(window.activate(m_title));
    EXPECT_FALSE(window.activate("")) << "an empty title would match every window";
    EXPECT_FALSE(window.sendKeys({"Return"}));
    EXPECT_EQ(other.keys(), "");
}

// A player that closed between the two steps: no X error may end the program, and the keys
// must not land in whatever window has the focus instead.
TEST_F(X11PlayerWindowTest, PlayerGoneBeforeTheKeysFailsCleanlyAndTypesIntoNothingElse) {
    const Player bystander = start("Bystander " + m_title);
    const Player player = start(m_title);
    X11PlayerWindow window;
    ASSERT_TRUE(window.activate(m_title));
    killProcess(player.pid);
    XSync(s_x->display(), False);  // the server has dropped the dead client's window by now
    EXPECT_FALSE(window.sendKeys({"Return", "Tab"}));
    EXPECT_FALSE(window.activate(m_title));
    EXPECT_EQ(waitpid(bystander.pid, nullptr, WNOHANG), 0) << "the bystander has gone";
    EXPECT_EQ(bystander.keys(), "");
}

}  // namespace
}  // namespace velmor::platform
