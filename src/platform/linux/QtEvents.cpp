#include "platform/linux/QtEvents.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <thread>

namespace velmor::platform {

void QtEvents::process() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEvents::wait(int milliseconds) {
    if (QCoreApplication::instance() == nullptr) {
        // No window events to run.
        QThread::msleep(static_cast<unsigned long>(std::max(0, milliseconds)));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(std::max(0, milliseconds), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool QtEvents::runAside(const std::function<void(const std::atomic<bool>& stop)>& work) {
    std::atomic<bool> stop = false;
    if (QCoreApplication::instance() == nullptr) {
        work(stop);  // no window events to run
        return true;
    }
    std::atomic<bool> done = false;
    QEventLoop loop;
    {
        // Joined before the loop goes out of scope: the thread's last act is to post the quit.
        std::jthread worker([&] {
            work(stop);
            done = true;
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
        loop.exec();
        // The loop also ends when the application quits (its window closed meanwhile).
        if (!done) {
            stop = true;
        }
    }
    return !stop;
}

}  // namespace velmor::platform
