#include "platform/linux/X11PlayerWindow.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

// Last: the X11 headers define macros that clash with ordinary names.
#include <X11/Xlib.h>

namespace velmor::platform {
namespace {

template <class Done>
bool within5s(Done done) {
    for (int tries = 0; tries < 2500; ++tries, usleep(2000)) {
        if (done()) {
            return true;
        }
    }
    return false;
}

pid_t spawn(std::vector<std::string> args) {
    std::vector<char*> argv(args.size() + 1);  // ends in a null pointer
    std::ranges::transform(args, argv.begin(), [](std::string& arg) { return arg.data(); });
    pid_t pid = 0;
    posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    return pid;
}

void stop(pid_t pid) {
    if (pid > 0 && kill(pid, SIGKILL) == 0) {
        waitpid(pid, nullptr, 0);
    }
}

std::string contents(const std::filesystem::path& file) {
    std::string text;
    std::getline(std::ifstream(file), text, '\0');
    return text;
}

struct Player {
    std::filesystem::path out;
    pid_t pid;
    // What the player was sent, after the "ready\n" that it writes itself.
    std::string keys() const { return contents(out).erase(0, 6); }
};

// One connection is held for the whole suite: the X server resets whenever its last client
// leaves, and refuses connections meanwhile. VELMOR_TEST_WM names a window manager to run.
class X11PlayerWindowTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (std::getenv("DISPLAY") == nullptr ||
            !within5s([] { return (s_display = XOpenDisplay(nullptr)) != nullptr; })) {
            return;
        }
        const Window root = DefaultRootWindow(s_display);
        if (const char* manager = std::getenv("VELMOR_TEST_WM"); manager && *manager != '\0') {
            s_manager = spawn({"/bin/sh", "-c", std::string("exec ") + manager});
            within5s([&] {  // until the manager has taken over the root window
                XWindowAttributes attributes{};
                XGetWindowAttributes(s_display, root, &attributes);
                return (attributes.all_event_masks & SubstructureRedirectMask) != 0;
            });
        }
        // The pointer rests in a corner, away from the players, where it cannot move the focus.
        XWarpPointer(s_display, None, root, 0, 0, 0, 0, DisplayWidth(s_display, 0) - 1,
                     DisplayHeight(s_display, 0) - 1);
        XSync(s_display, False);
    }
    static void TearDownTestSuite() {
        stop(s_manager);
        if (s_display != nullptr) {
            XCloseDisplay(s_display);
        }
    }

    void SetUp() override {
        if (s_display == nullptr) {
            GTEST_SKIP() << "needs an X server";
        }
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override {
        std::ranges::for_each(m_players, stop);
        std::filesystem::remove_all(m_dir);
    }

    Player start(const std::string& windowTitle, const char* state = "normal") {
        Player player{m_dir / std::to_string(m_players.size()), 0};
        player.pid = spawn({FAKE_PLAYER_WINDOW, player.out.string(), windowTitle, state});
        m_players.push_back(player.pid);
        EXPECT_TRUE(within5s([&] { return !contents(player.out).empty(); })) << windowTitle;
        return player;
    }

    static inline Display* s_display = nullptr;
    static inline pid_t s_manager = 0;
    const std::filesystem::path m_dir =
        std::filesystem::temp_directory_path() / ("velmor-x11-" + std::to_string(getpid()));
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
    stop(player.pid);
    XSync(s_display, False);  // the server has dropped the dead client's window by now
    EXPECT_FALSE(window.sendKeys({"Return", "Tab"}));
    EXPECT_FALSE(window.activate(m_title));
    EXPECT_EQ(waitpid(bystander.pid, nullptr, WNOHANG), 0) << "the bystander has gone";
    EXPECT_EQ(bystander.keys(), "");
}

TEST(X11PlayerWindowWithoutServerTest, NoDisplayMeansNotFound) {
    const std::string saved = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    X11PlayerWindow window;
    EXPECT_FALSE(window.activate("SPCPLAY"));
    EXPECT_FALSE(window.sendKeys({"Return"}));
    saved.empty() ? unsetenv("DISPLAY") : setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
}  // namespace velmor::platform
