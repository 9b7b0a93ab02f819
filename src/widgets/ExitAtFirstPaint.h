#pragma once

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace velmor::widgets {

// For start-up measurements: when VELMOR_EXIT_AT_FIRST_PAINT=1, the process ends the moment
// `window` has first been painted and the frame is with the window system, and prints that
// moment first as "painted <ns>" (nanoseconds of the system's real-time clock, which a
// benchmark that started the program compares with its own start).
//
// A widget window paints while it handles the expose event, or the update request, that the
// window system sends to its native window: the event is handed on here and the watch looks
// whether the window itself was painted in that time. A round trip to the window system then
// makes sure that the frame has arrived.
class ExitAtFirstPaint final : public QObject {
  public:
    explicit ExitAtFirstPaint(QWidget& window) : window_(window) {
        if (qEnvironmentVariableIntValue("VELMOR_EXIT_AT_FIRST_PAINT") == 1) {
            window.installEventFilter(this);
            window.winId();  // creates the native window to watch
            window.windowHandle()->installEventFilter(this);
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_) {
            painted_ = painted_ || event->type() == QEvent::Paint;
            return false;
        }
        if (done_ || (event->type() != QEvent::Expose && event->type() != QEvent::UpdateRequest)) {
            return false;
        }
        // Event filters are not run again for an event handed on directly.
        const bool handled = watched->event(event);
        if (painted_) {
            done_ = true;
            QGuiApplication::sync();
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("painted %lld\n",
                        static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
            std::fflush(stdout);
            std::_Exit(0);
        }
        return handled;
    }

  private:
    QWidget& window_;
    bool painted_ = false;
    bool done_ = false;
};

}  // namespace velmor::widgets
