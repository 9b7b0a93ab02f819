// The floor for start-up time and memory: a bare Qt Widgets program showing one main window of
// the same client size as Velmor's (5640 x 3696 twips at 15 twips to a pixel), and nothing
// else. With VELMOR_EXIT_ON_EXPOSE=1 it prints "exposed <ms since main>" when the window is
// first on screen and ends at once, as Velmor does.

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMainWindow>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kClientWidth = 5640 / 15;
constexpr int kClientHeight = 3696 / 15;

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
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Velmor floor"));
    window.setCentralWidget(new QWidget(&window));
    window.resize(kClientWidth, kClientHeight);

    ExitOnExpose exposeWatch(clock);
    if (qEnvironmentVariableIntValue("VELMOR_EXIT_ON_EXPOSE") == 1) {
        window.winId();
        window.windowHandle()->installEventFilter(&exposeWatch);
    }
    window.show();
    return QApplication::exec();
}
