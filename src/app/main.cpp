#include <fontconfig/fontconfig.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/Artwork.h"
#include "app/ControlKit.h"
#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "platform/LinuxProgramInfo.h"
#include "platform/QtEvents.h"
#include "platform/QtMessages.h"
#include "platform/QtTimers.h"
#include "platform/SqliteRegistry.h"
#include "platform/TerminationSignals.h"
#include "platform/X11PlayerWindow.h"

namespace {

// For start-up measurements: report the moment the main window is first on screen, and end.
class ExitOnExpose final : public QObject {
  public:
    explicit ExitOnExpose(const QElapsedTimer& clock) : clock_(clock) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose) {
            if (auto* window = qobject_cast<QWindow*>(watched); window && window->isExposed()) {
                std::printf("exposed %lld\n", static_cast<long long>(clock_.elapsed()));
                std::fflush(stdout);
                std::_Exit(0);
            }
        }
        return false;
    }

  private:
    const QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    // Reading the font configuration is the largest single cost of showing any text; it runs on
    // the second processor while the window system connection is set up.
    std::thread fontConfiguration([] { FcInit(); });
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmor"));
    fontConfiguration.join();
    // One face for every text of the program, menus and tool tips included.
    QApplication::setFont(velmor::app::dialogFont());
    QApplication::setWindowIcon(velmor::app::artwork::windowIcon());

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    velmor::platform::SqliteRegistry registry(velmor::platform::SqliteRegistry::defaultPath());
    velmor::platform::QtEvents events;
    velmor::platform::QtTimers timers;
    velmor::platform::X11PlayerWindow playerWindow;
    velmor::platform::QtMessages messages;
    velmor::platform::LinuxProgramInfo program(std::move(arguments));
    velmor::platform::Platform platform{registry, events, timers, playerWindow, messages, program};

    velmor::app::MainForm form(platform);
    messages.setOwner(&form.window());

    // A session ending or a signal closes the window like the close box does.
    velmor::platform::TerminationSignals terminations;
    QObject::connect(&terminations, &velmor::platform::TerminationSignals::requested, &form,
                     &velmor::app::MainForm::requestClose);

    ExitOnExpose exposeWatch(clock);
    if (qEnvironmentVariableIntValue("VELMOR_EXIT_ON_EXPOSE") == 1) {
        form.window().winId();  // creates the native window to watch
        form.window().windowHandle()->installEventFilter(&exposeWatch);
    }

    form.formLoad();
    if (form.window().isHidden() && form.closeRequested()) {
        return 0;  // closed, and saved, before it was ever shown
    }
    form.window().show();
    return QApplication::exec();
}
