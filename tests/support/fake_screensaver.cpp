// A stand-in for the desktop's screen saver service on the session bus: it answers Inhibit with
// a cookie of its own choosing and prints every call on standard output, one line each:
// "ready", "Inhibit APP REASON -> COOKIE", "UnInhibit COOKIE".

#include <QCoreApplication>
#include <QDBusConnection>
#include <QObject>
#include <QRandomGenerator>
#include <cstdio>

class ScreenSaver final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
  public slots:
    uint Inhibit(const QString& application, const QString& reason) {
        const uint cookie = QRandomGenerator::global()->bounded(1000u, 1000000u);
        std::printf("Inhibit %s %s -> %u\n", qPrintable(application), qPrintable(reason), cookie);
        std::fflush(stdout);
        return cookie;
    }
    void UnInhibit(uint cookie) {
        std::printf("UnInhibit %u\n", cookie);
        std::fflush(stdout);
    }
};

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ScreenSaver service;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject("/org/freedesktop/ScreenSaver", &service,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService("org.freedesktop.ScreenSaver")) {
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

#include "fake_screensaver.moc"
