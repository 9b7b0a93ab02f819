#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

// The main of the window tests. Without a display they draw off screen; test discovery runs
// the binary at build time without the test environment, hence the defaults set here.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Asked for X but given no display: draw off screen, and let the tests that need X skip.
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
