#include "platform/QtEvents.h"

#include <QCoreApplication>
#include <QThread>

namespace velmor::platform {

void QtEvents::process() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEvents::sleep(int milliseconds) {
    if (milliseconds > 0) {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
    }
}

}  // namespace velmor::platform
