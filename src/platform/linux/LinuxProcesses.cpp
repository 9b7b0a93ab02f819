#include "platform/linux/LinuxProcesses.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <optional>

namespace velmor::platform {
namespace {

// How far the emulator's priority is raised where the system allows it.
constexpr int kRaisedNice = -10;

struct Invocation {
    QString program;
    QStringList arguments;
    QProcessEnvironment environment = QProcessEnvironment(QProcessEnvironment::InheritFromParent);
};

QString decoded(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::optional<Invocation> invocationOf(std::string_view commandLine) {
    const std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty()) {
        return std::nullopt;
    }
    Invocation invocation{decoded(words.front()), {}};
    for (std::size_t i = 1; i < words.size(); ++i) {
        invocation.arguments << decoded(words[i]);
    }
    return invocation;
}

Invocation invocationOf(const Command& command) {
    Invocation invocation{decoded(command.program), {}};
    for (const std::string& argument : command.arguments) {
        invocation.arguments << decoded(argument);
    }
    if (!command.environment.empty()) {
        invocation.environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : command.environment) {
            invocation.environment.insert(decoded(name), decoded(value));
        }
    }
    return invocation;
}

// Runs in the child between fork and exec, so only plain system calls. Where the full step is
// not allowed, the lowest nice value the user's limit grants is taken; where none is, the
// program runs at normal priority.
void raisePriority() {
    if (::setpriority(PRIO_PROCESS, 0, kRaisedNice) == 0) {
        return;
    }
    rlimit limit{};
    if (::getrlimit(RLIMIT_NICE, &limit) != 0 || limit.rlim_cur > 40) {
        return;
    }
    const int lowest = 20 - static_cast<int>(limit.rlim_cur);
    if (lowest > kRaisedNice && lowest < ::getpriority(PRIO_PROCESS, 0)) {
        ::setpriority(PRIO_PROCESS, 0, lowest);
    }
}

// Discards the user's input to every window while it is installed: clicks, keys, the wheel,
// touches, drops and the close box. Painting, timers and the window manager's pings still run.
class InputSwallower final : public QObject {
  public:
    InputSwallower() { QCoreApplication::instance()->installEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::ShortcutOverride:
                // Claimed, so that no shortcut is looked up for the key; the key itself is
                // swallowed below.
                event->accept();
                return true;
            case QEvent::Close:
                // A close from the window system: the close box. A window that the program
                // closes itself also passes through the window system, and is kept open too.
                return event->spontaneous();
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::NonClientAreaMouseButtonPress:
            case QEvent::NonClientAreaMouseButtonRelease:
            case QEvent::NonClientAreaMouseButtonDblClick:
            case QEvent::NonClientAreaMouseMove:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Shortcut:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::InputMethod:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::TouchCancel:
            case QEvent::TabletPress:
            case QEvent::TabletMove:
            case QEvent::TabletRelease:
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::Drop:
                return true;
            default:
                return QObject::eventFilter(watched, event);
        }
    }
};

// Where the holder of a descriptor keeps it: the shell's redirections take one digit.
constexpr int kHolderDescriptor = 9;

// Starts the program and returns when it has ended; false when it could not be started.
// `handedOn`, unless -1, is a descriptor the program keeps (it is closed on exec everywhere
// else, so that no other program started meanwhile holds it too), as number `handedAs` when
// that is given.
bool runToEnd(const Invocation& invocation, bool blocked, int handedOn = -1, int handedAs = -1) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    if (blocked) {
        process.setChildProcessModifier(raisePriority);
    } else if (handedOn >= 0) {
        // Between fork and exec: plain system calls only.
        process.setChildProcessModifier([handedOn, handedAs] {
            if (handedAs >= 0 && handedAs != handedOn) {
                ::dup2(handedOn, handedAs);  // the copy is left open across exec
                return;
            }
            const int flags = ::fcntl(handedOn, F_GETFD);
            if (flags >= 0) {
                ::fcntl(handedOn, F_SETFD, flags & ~FD_CLOEXEC);
            }
        });
    }
    process.setProcessEnvironment(invocation.environment);
    process.start(invocation.program, invocation.arguments);
    if (!process.waitForStarted(-1)) {
        return false;
    }
    if (QCoreApplication::instance() != nullptr) {
        std::optional<InputSwallower> swallower;
        if (blocked) {
            swallower.emplace();
        }
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        if (process.state() != QProcess::NotRunning) {
            loop.exec();
        }
    }
    // The application may be quitting (its window closed meanwhile), which ends every event
    // loop: the program is still waited for rather than killed with this object, so that a
    // game is never cut off before it has saved.
    process.waitForFinished(-1);
    return true;
}

bool startDetachedInvocation(const Invocation& invocation) {
    QProcess process;
    process.setProgram(invocation.program);
    process.setArguments(invocation.arguments);
    process.setProcessEnvironment(invocation.environment);
    return process.startDetached();
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < commandLine.size()) {
        const std::size_t start = commandLine.find_first_not_of(' ', at);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(commandLine.find(' ', start), commandLine.size());
        words.emplace_back(commandLine.substr(start, end - start));
        at = end;
    }
    return words;
}

bool LinuxProcesses::executeAndWait(std::string_view commandLine) {
    const std::optional<Invocation> invocation = invocationOf(commandLine);
    return invocation && runToEnd(*invocation, true);
}

bool LinuxProcesses::startShellAndWait(std::string_view commandLine, int handedOn) {
    if (!commandLine.starts_with(kShellPrefix)) {
        const std::optional<Invocation> invocation = invocationOf(commandLine);
        return invocation && runToEnd(*invocation, false, handedOn);
    }
    const std::string_view script = commandLine.substr(kShellPrefix.size());
    return runToEnd({QStringLiteral("/bin/sh"), {QStringLiteral("-c"), decoded(script)}}, false,
                    handedOn);
}

bool LinuxProcesses::startDetached(std::string_view commandLine) {
    const std::optional<Invocation> invocation = invocationOf(commandLine);
    return invocation && startDetachedInvocation(*invocation);
}

bool LinuxProcesses::executeAndWait(const Command& command) {
    return runToEnd(invocationOf(command), true);
}

bool LinuxProcesses::startAndWait(const Command& command, int handedOn) {
    Invocation invocation = invocationOf(command);
    if (handedOn < 0) {
        return runToEnd(invocation, false);
    }
    // A holder keeps the descriptor (as number 9) and waits for the program, which is started
    // with it closed. The program and its arguments reach it as the holder's own arguments, never
    // as script text, so nothing in them is read by the shell.
    invocation.arguments.prepend(invocation.program);
    invocation.arguments.prepend(QStringLiteral("sh"));
    invocation.arguments.prepend(QStringLiteral("\"$@\" %1<&-").arg(kHolderDescriptor));
    invocation.arguments.prepend(QStringLiteral("-c"));
    invocation.program = QStringLiteral("/bin/sh");
    return runToEnd(invocation, false, handedOn, kHolderDescriptor);
}

bool LinuxProcesses::startDetached(const Command& command) {
    return startDetachedInvocation(invocationOf(command));
}

}  // namespace velmor::platform
