#pragma once

#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <memory>
#include <vector>

namespace velmor::widgets {

// Shows a window in front of the others, out of its minimised state, and gives it the focus.
inline void bringForward(QWidget& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

// One window of a kind at a time: asked again while it is open, the same window comes back (for
// the caller to bring forward); once it has closed, the next one is made afresh. `Window` says
// it has closed with a `closed` signal. A closed window goes once the event loop is back where it
// closed, never under its own handlers; those still waiting when this goes, go with it.
template <typename Window>
class OneWindow final {
  public:
    OneWindow() = default;
    ~OneWindow() {
        for (const QPointer<Window>& closed : closing_) {
            delete closed.data();
        }
    }
    OneWindow(const OneWindow&) = delete;
    OneWindow& operator=(const OneWindow&) = delete;

    // The open window, or null.
    Window* window() const { return open_.get(); }

    // The open window, or a new one from `make` (a std::unique_ptr<Window>) when none is open.
    template <typename Make>
    Window& openOrMake(Make&& make) {
        std::erase_if(closing_, [](const QPointer<Window>& closed) { return closed.isNull(); });
        if (open_ == nullptr) {
            open_ = make();
            Window* opened = open_.get();
            QObject::connect(opened, &Window::closed, opened, [this, opened] {
                if (open_.get() == opened) {
                    closing_.emplace_back(opened);
                    open_.release()->deleteLater();
                }
            });
        }
        return *open_;
    }

  private:
    std::unique_ptr<Window> open_;
    std::vector<QPointer<Window>> closing_;
};

}  // namespace velmor::widgets
