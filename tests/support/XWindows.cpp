#include "support/XWindows.h"

#include <QProcess>
#include <QString>
#include <QThread>

namespace velmor::test {

int windowsTitled(std::string_view title) {
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--name"),
                  QStringLiteral("^%1$").arg(
                      QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())))});
    search.waitForFinished(5000);
    return static_cast<int>(
        QString::fromUtf8(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts).size());
}

QProcessEnvironment velmorEnvironment(const QString& store, const QString& runtime) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELMOR_REGISTRY"), store);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    return environment;
}

bool firstRun(const char* program, const QProcessEnvironment& environment) {
    QProcess run;
    run.setProcessEnvironment(environment);
    run.start(QString::fromLocal8Bit(program), {});
    if (!run.waitForStarted(10000)) {
        return false;
    }
    QThread::msleep(1500);
    run.terminate();
    return run.waitForFinished(10000);
}

}  // namespace velmor::test
