#include "platform/linux/TerminationSignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

namespace velmor::platform {
namespace {

// The write end of the socket pair; a signal handler can reach nothing else safely.
std::atomic<int> writeEnd{-1};

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onSignal(int) {
    const int fd = writeEnd.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
    }
}

}  // namespace

TerminationSignals::TerminationSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, sockets_) != 0) {
        return;
    }
    writeEnd.store(sockets_[0]);
    notifier_ = std::make_unique<QSocketNotifier>(sockets_[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char buffer[16];
        while (::read(sockets_[1], buffer, sizeof buffer) > 0) {
        }
        emit requested();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    for (const int signal : kSignals) {
        std::signal(signal, SIG_DFL);
    }
    writeEnd.store(-1);
    notifier_.reset();
    for (const int fd : sockets_) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

}  // namespace velmor::platform
