#pragma once

#include <string_view>
#include <vector>

#include "platform/Events.h"
#include "platform/PlayerWindow.h"
#include "platform/Timers.h"

namespace velmor::music {

// The title of the music player's window.
inline constexpr std::string_view kPlayerTitle = "SPCPLAY";

// The keys sent to a running player before it is started afresh on a song: Enter, Enter.
inline const std::vector<std::string_view> kPlayKeys{"Return", "Return"};

// The keys that make the player leave its song and close: Enter, then Tab.
inline const std::vector<std::string_view> kCloseKeys{"Return", "Tab"};

// Activates the player's window and sends it `keys`; false, with nothing sent, when the window
// cannot be activated.
bool sendPlayerKeys(platform::PlayerWindow& window, const std::vector<std::string_view>& keys);

// Closes a running player as the program ends, then stops the countdown and the song timer
// whether or not a player was found.
void closePlayerOnExit(platform::PlayerWindow& window, platform::Events& events,
                       platform::Countdown& countdown, platform::IntervalTimer& songTimer);

}  // namespace velmor::music
