#pragma once

namespace velmor::platform {

// The desktop's screen saver, kept from starting while a game runs.
class ScreenSaver {
  public:
    virtual ~ScreenSaver() = default;
    // False keeps the screen saver from starting until it is set true again. Silently nothing
    // where the desktop offers no such control.
    virtual void setActive(bool active) = 0;
};

}  // namespace velmor::platform
