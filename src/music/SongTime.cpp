#include "music/SongTime.h"

#include <cstdint>
#include <limits>

#include "settings/NumberRules.h"

namespace velmor::music {

std::optional<int> songTimeMilliseconds(std::string_view minutes, std::string_view seconds) {
    using settings::kTimerNumbers;
    const double songTime = settings::leadingNumber(minutes, kTimerNumbers) * 60 +
                            settings::leadingNumber(seconds, kTimerNumbers);
    const std::optional<std::int64_t> milliseconds = settings::roundHalfEven(songTime * 1000);
    if (!milliseconds || *milliseconds <= 0 ||
        *milliseconds > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(*milliseconds);
}

std::string countdownText(int timeRemaining) {
    // A countdown never reports less than nothing left.
    const std::int64_t seconds =
        timeRemaining > 0 ? settings::roundHalfEven(timeRemaining / 1000.0).value_or(0) : 0;
    const std::int64_t rest = seconds % 60;
    return std::string(kNextSongLabel) + std::to_string(seconds / 60) + " : " +
           (rest < 10 ? "0" : "") + std::to_string(rest);
}

}  // namespace velmor::music
