#include <fontconfig/fontconfig.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "platform/LinuxProgramInfo.h"
#include "platform/QtEvents.h"
#include "platform/QtMessages.h"
#include "platform/QtTimers.h"
#include "platform/SqliteRegistry.h"
#include "platform/TerminationSignals.h"
#include "platform/X11PlayerWindow.h"
#include "widgets/ControlKit.h"
#include "widgets/ExitOnExpose.h"

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    // Reading the font configuration is the largest single cost of showing any text; it runs on
    // the second processor, with the opening of the settings store, while the window system
    // connection is set up.
    const std::filesystem::path storeFile = velmor::platform::SqliteRegistry::defaultPath();
    std::optional<velmor::platform::SqliteRegistry> registry;
    std::thread preparation([&] {
        FcInit();
        registry.emplace(storeFile);
    });
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmor"));
    preparation.join();
    // One face for every text of the program, menus and tool tips included.
    QApplication::setFont(velmor::widgets::dialogFont());

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    velmor::platform::QtEvents events;
    velmor::platform::QtTimers timers;
    velmor::platform::X11PlayerWindow playerWindow;
    velmor::platform::QtMessages messages;
    velmor::platform::LinuxProgramInfo program(std::move(arguments));
    velmor::platform::Platform platform{*registry, events, timers, playerWindow, messages, program};

    velmor::app::MainForm form(platform);
    messages.setOwner(&form.window());

    // A session ending or a signal closes the window like the close box does.
    velmor::platform::TerminationSignals terminations;
    QObject::connect(&terminations, &velmor::platform::TerminationSignals::requested, &form,
                     &velmor::app::MainForm::requestClose);

    velmor::widgets::ExitOnExpose exposeWatch(form.window(), clock);

    form.formLoad();
    if (form.window().isHidden() && form.closeRequested()) {
        return 0;  // closed, and saved, before it was ever shown
    }
    form.window().show();
    return QApplication::exec();
}
