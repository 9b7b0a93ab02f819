#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "platform/ScreenSaver.h"

class QDBusConnection;

namespace velmor::platform {

// The freedesktop screen saver service: switched off by an inhibition, whose cookie is kept
// until it is switched on again. Without a bus, or without the service on it, nothing happens,
// and no call waits long for an answer.
class DBusScreenSaver final : public ScreenSaver {
  public:
    // On the session bus.
    DBusScreenSaver();
    // On the bus at `address`.
    explicit DBusScreenSaver(QString address);

    void setActive(bool active) override;

  private:
    std::optional<QDBusConnection> connection() const;

    QString address_;
    std::optional<std::uint32_t> cookie_;
};

}  // namespace velmor::platform
