#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace velmor::platform {

// Turns SIGTERM, SIGHUP and SIGINT (a session ending, a terminal closing, Ctrl+C) into a Qt
// signal on the window's thread, so that the program closes its window, and saves, as on any
// other close. Only one instance may exist at a time; it restores the default handlers when
// it goes.
class TerminationSignals final : public QObject {
    Q_OBJECT
  public:
    TerminationSignals();
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  signals:
    void requested();

  private:
    int sockets_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace velmor::platform
