#pragma once

#include "platform/PlayerWindow.h"

#include <memory>
#include <string>

namespace velmor::platform {

// The player's window on an X server: found among the top-level windows (minimised ones too),
// focused through the window manager where one answers and directly where none does, and fed
// keystrokes through the XTEST extension. The connection is opened on first use and reopened
// after the server went away; without a reachable server nothing is ever found.
class X11PlayerWindow final : public PlayerWindow {
  public:
    // `displayName` empty: the display named by $DISPLAY.
    explicit X11PlayerWindow(std::string displayName = {});
    ~X11PlayerWindow() override;
    X11PlayerWindow(const X11PlayerWindow&) = delete;
    X11PlayerWindow& operator=(const X11PlayerWindow&) = delete;

    bool activate(std::string_view title) override;
    bool sendKeys(const std::vector<std::string_view>& keys) override;
    bool exists(std::string_view title) override;
    void minimise() override;

  private:
    class Connection;
    // The connection, opened anew when there is none or the server went away.
    Connection* connection();
    std::string m_displayName;
    std::unique_ptr<Connection> m_connection;
};

}  // namespace velmor::platform
