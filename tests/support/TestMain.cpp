#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>

// The main of the tests that need no window: an application object for timers and events.
int main(int argc, char** argv) {
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
