#include "music/PlayerKeys.h"

namespace velmor::music {

bool sendPlayerKeys(platform::PlayerWindow& window, const std::vector<std::string_view>& keys) {
    if (!window.activate(kPlayerTitle)) {
        return false;
    }
    window.sendKeys(keys);
    return true;
}

void closePlayerOnExit(platform::PlayerWindow& window, platform::Events& events,
                       platform::Countdown& countdown, platform::IntervalTimer& songTimer) {
    if (sendPlayerKeys(window, kCloseKeys)) {
        // Give the player and our own windows the chance to act on the keys.
        events.process();
        events.process();
    }
    countdown.setEnabled(false);
    songTimer.setEnabled(false);
}

}  // namespace velmor::music
