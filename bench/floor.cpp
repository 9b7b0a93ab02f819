// The floor for start-up time and memory: a bare Qt Widgets program showing one main window of
// the same client size as Velmor's (5640 x 3696 twips at 15 twips to a pixel), and nothing
// else. With VELMOR_EXIT_ON_EXPOSE=1 it prints "exposed <ms since main>" when the window is
// first on screen and ends at once, as Velmor does.

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QWidget>

#include "widgets/ExitOnExpose.h"

namespace {

constexpr int kClientWidth = 5640 / 15;
constexpr int kClientHeight = 3696 / 15;

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Velmor floor"));
    window.setCentralWidget(new QWidget(&window));
    window.resize(kClientWidth, kClientHeight);

    velmor::widgets::ExitOnExpose exposeWatch(window, clock);
    window.show();
    return QApplication::exec();
}
