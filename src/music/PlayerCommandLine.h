#pragma once

#include <string>
#include <string_view>

#include "platform/ShortNames.h"

namespace velmor::settings {
class Holders;
}

namespace velmor::music {

// The Sound tab's choices that the music player takes as switches.
struct PlayerOptions {
    int eightBit = 0;    // Check3, a check box state: 0 clear, 1 ticked, 2 grayed
    int buffering = 0;   // Check14
    int noAdsrGain = 0;  // Check11
    int stereo = 0;      // Check2
    int rateIndex = -1;  // Combo1: 0 to 3 for 8000 to 44100 Hz, -1 for none
};

PlayerOptions readPlayerOptions(const settings::Holders& holders);

// The player's switches in their fixed order, each with its leading blank: " -8 -q -x -z -r 3".
std::string playerSwitches(const PlayerOptions& options);

// The short program path, a blank, the switches, a blank and the short song path. A path that
// has no short form leaves its part empty.
std::string playerCommandLine(platform::ShortNames& shortNames, std::string_view playerPath,
                              std::string_view switches, std::string_view song);

}  // namespace velmor::music
