#pragma once

#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

namespace velmor::widgets {

// For start-up measurements: when VELMOR_EXIT_ON_EXPOSE=1, the moment `window` is first on
// screen is printed as "exposed <ms since clock started>" and the process ends at once.
class ExitOnExpose final : public QObject {
  public:
    ExitOnExpose(QWidget& window, const QElapsedTimer& clock) : clock_(clock) {
        if (qEnvironmentVariableIntValue("VELMOR_EXIT_ON_EXPOSE") == 1) {
            window.winId();  // creates the native window to watch
            window.windowHandle()->installEventFilter(this);
        }
    }
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

}  // namespace velmor::widgets
