#include "platform/linux/DBusScreenSaver.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QVariant>
#include <cstdlib>
#include <utility>

namespace velmor::platform {
namespace {

constexpr int kCallTimeoutMs = 1000;

QDBusMessage screenSaverCall(const QString& method) {
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                          QStringLiteral("/org/freedesktop/ScreenSaver"),
                                          QStringLiteral("org.freedesktop.ScreenSaver"), method);
}

// Whether a session bus can be reached without starting one: with no address given and no
// socket in the runtime folder, the D-Bus library would try to launch a bus of its own.
bool sessionBusKnown() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address != nullptr && address[0] != '\0') {
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime != nullptr && runtime[0] != '\0' &&
           QFileInfo::exists(QFile::decodeName(runtime) + QStringLiteral("/bus"));
}

}  // namespace

DBusScreenSaver::DBusScreenSaver() = default;

DBusScreenSaver::DBusScreenSaver(QString address) : address_(std::move(address)) {}

std::optional<QDBusConnection> DBusScreenSaver::connection() const {
    if (address_.isEmpty()) {
        if (!sessionBusKnown()) {
            return std::nullopt;
        }
        QDBusConnection bus = QDBusConnection::sessionBus();
        return bus.isConnected() ? std::optional(bus) : std::nullopt;
    }
    // Qt keeps the connection under its name, so it is made once.
    QDBusConnection bus =
        QDBusConnection::connectToBus(address_, QStringLiteral("velmor-screensaver:") + address_);
    return bus.isConnected() ? std::optional(bus) : std::nullopt;
}

void DBusScreenSaver::setActive(bool active) {
    if (active == !cookie_.has_value()) {
        return;  // already so: a second inhibition would leave the first one behind
    }
    const std::optional<QDBusConnection> bus = connection();
    if (active) {
        const std::uint32_t cookie = *std::exchange(cookie_, std::nullopt);
        if (bus) {
            QDBusMessage call = screenSaverCall(QStringLiteral("UnInhibit"));
            call << cookie;
            bus->call(call, QDBus::Block, kCallTimeoutMs);
        }
        return;
    }
    if (!bus) {
        return;
    }
    QDBusMessage call = screenSaverCall(QStringLiteral("Inhibit"));
    call << QStringLiteral("Velmor") << QStringLiteral("A game is running");
    const QDBusMessage reply = bus->call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1 &&
        reply.arguments().front().metaType().id() == QMetaType::UInt) {
        cookie_ = reply.arguments().front().toUInt();
    }
}

}  // namespace velmor::platform
