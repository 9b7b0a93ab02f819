#include "platform/QtEvents.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace velmor::platform {

void QtEvents::process() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEvents::sleep(int milliseconds) {
    if (milliseconds > 0) {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
    }
}

void QtEvents::wait(int milliseconds) {
    if (QCoreApplication::instance() == nullptr) {
        sleep(milliseconds);  // no window events to run
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(std::max(0, milliseconds), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace velmor::platform
