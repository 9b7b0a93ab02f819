#include <fontconfig/fontconfig.h>
#include <QApplication>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/ImportCommand.h"
#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "platform/linux/DBusScreenSaver.h"
#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/LinuxProgramInfo.h"
#include "platform/linux/LinuxShortNames.h"
#include "platform/linux/LinuxWine.h"
#include "platform/linux/ProgramArguments.h"
#include "platform/linux/QtEvents.h"
#include "platform/linux/QtFileDialogs.h"
#include "platform/linux/QtMessages.h"
#include "platform/linux/QtTimers.h"
#include "platform/linux/SqliteRegistry.h"
#include "platform/linux/StoreLock.h"
#include "platform/linux/TerminationSignals.h"
#include "platform/linux/X11PlayerWindow.h"
#include "platform/linux/XdgFileTypes.h"
#include "widgets/ControlKit.h"
#include "widgets/ExitAtFirstPaint.h"

namespace {

// Qt ends the process with abort() when no window system can be reached, blaming its
// installation. While the application object is made, that fatal message is replaced by one
// clear line and exit code 1, and the window system's own complaints before it are held back.
void windowSystemMissing(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtFatalMsg) {
        return;
    }
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    std::fprintf(stderr,
                 "velmor: cannot open the display %s%s%s: Velmor needs a graphical session "
                 "(X11, or Wayland with XWayland)\n",
                 display != nullptr && *display != '\0' ? display : "(DISPLAY is not set)",
                 wayland != nullptr && *wayland != '\0' ? " or the Wayland display " : "",
                 wayland != nullptr && *wayland != '\0' ? wayland : "");
    std::fflush(stderr);
    std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    using velmor::platform::ProgramArguments;
    // Answered before any display is needed.
    const ProgramArguments line =
        velmor::platform::readProgramArguments(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
        case ProgramArguments::Action::Help:
            std::fputs(velmor::platform::programUsage(), stdout);
            return 0;
        case ProgramArguments::Action::Version:
            std::puts("velmor " VELMOR_VERSION);
            return 0;
        case ProgramArguments::Action::Misuse:
            std::fprintf(stderr, "velmor: %s\n%s", line.problem.c_str(),
                         velmor::platform::programUsage());
            return 2;
        case ProgramArguments::Action::Import:
            return velmor::app::runImport(line.importFile,
                                          line.winePrefix);  // no window, no display
        case ProgramArguments::Action::Window:
            break;
    }
    // Reading the font configuration is the largest single cost of showing any text; it runs on
    // the second processor, with the opening of the settings store, while the window system
    // connection is set up.
    const std::filesystem::path storeFile = velmor::platform::SqliteRegistry::defaultPath();
    std::optional<velmor::platform::SqliteRegistry> registry;
    // Held while the window runs, so that no import writes under it (see StoreLock.h).
    std::optional<velmor::platform::StoreLock> storeLock;
    std::thread preparation([&] {
        FcInit();
        registry.emplace(storeFile);
        if (registry->usable()) {
            storeLock.emplace(velmor::platform::StoreLock::forWindow(registry->file()));
        }
    });
    const QtMessageHandler previousHandler = qInstallMessageHandler(windowSystemMissing);
    // Qt takes its own options out of the words before a `--`; the words after it are files.
    int qtArgc = 1 + static_cast<int>(line.leading);
    QApplication application(qtArgc, argv);
    qInstallMessageHandler(previousHandler);
    QApplication::setApplicationName(QStringLiteral("Velmor"));
    preparation.join();
    if (!registry->usable()) {
        std::fprintf(stderr, "velmor: %s; running on the default settings, nothing will be saved\n",
                     registry->problem().c_str());
    }
    // One face for every text of the program, menus and tool tips included.
    QApplication::setFont(velmor::widgets::dialogFont());

    std::vector<std::string> arguments(argv + 1, argv + qtArgc);
    arguments.insert(arguments.end(), line.trailing.begin(), line.trailing.end());
    velmor::platform::QtEvents events;
    velmor::platform::QtTimers timers;
    velmor::platform::X11PlayerWindow playerWindow;
    velmor::platform::QtMessages messages;
    velmor::platform::LinuxProgramInfo program(std::move(arguments));
    velmor::platform::LinuxProcesses processes;
    velmor::platform::LinuxShortNames shortNames;
    velmor::platform::DBusScreenSaver screenSaver;
    velmor::platform::QtFileDialogs fileDialogs;
    velmor::platform::XdgFileTypes fileTypes(velmor::platform::XdgFolders::fromEnvironment());
    velmor::platform::LinuxWine wine;
    velmor::platform::Platform platform{*registry,   events,      timers,    playerWindow,
                                        messages,    program,     processes, shortNames,
                                        screenSaver, fileDialogs, fileTypes, wine};

    velmor::app::MainForm form(platform);
    messages.setOwner(&form.window());
    fileDialogs.setOwner(&form.window());

    // A session ending or a signal closes the window like the close box does.
    velmor::platform::TerminationSignals terminations;
    QObject::connect(&terminations, &velmor::platform::TerminationSignals::requested, &form,
                     &velmor::app::MainForm::requestClose);

    velmor::widgets::ExitAtFirstPaint firstPaint(form.window());

    form.formLoad();
    if (form.window().isHidden() && form.closeRequested()) {
        return 0;  // closed, and saved, before it was ever shown
    }
    form.window().show();
    return QApplication::exec();
}
