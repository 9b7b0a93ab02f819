#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmor::music {

// Label10 between songs: after Next or a song's end, and after Stop.
inline constexpr std::string_view kNextSongLabel = "Time to next song:  ";
inline constexpr std::string_view kStoppedLabel = "Time to next song:";

// The song time in milliseconds from the texts of the minutes and seconds boxes, each read for
// its leading number, rounded half to even. Nothing when it cannot be a timer's interval: zero
// or less, or more milliseconds than a signed 32-bit count holds (a song time that would run
// out at once or never).
std::optional<int> songTimeMilliseconds(std::string_view minutes, std::string_view seconds);

// Label10 while a song plays: "Time to next song:  " minutes " : " seconds in two digits, the
// time left rounded half to even to whole seconds.
std::string countdownText(int timeRemaining);

}  // namespace velmor::music
