#include "music/PlayerCommandLine.h"

#include "settings/Holders.h"

namespace velmor::music {

PlayerOptions readPlayerOptions(const settings::Holders& holders) {
    return {holders.boxState("Check3"), holders.boxState("Check14"), holders.boxState("Check11"),
            holders.boxState("Check2"), holders.listIndex("Combo1")};
}

std::string playerSwitches(const PlayerOptions& options) {
    std::string switches;
    // Only a ticked box counts; a grayed one adds nothing.
    const auto add = [&switches](int box, std::string_view text) {
        if (box == 1) {
            switches += text;
        }
    };
    add(options.eightBit, " -8");
    add(options.buffering, " -q");
    add(options.noAdsrGain, " -x");
    add(options.stereo, " -z");
    if (options.rateIndex >= 0 && options.rateIndex <= 3) {
        switches += " -r " + std::to_string(options.rateIndex);
    }
    return switches;
}

std::string playerCommandLine(platform::ShortNames& shortNames, std::string_view playerPath,
                              std::string_view switches, std::string_view song) {
    return shortNames.shortName(playerPath) + " " + std::string(switches) + " " +
           shortNames.shortName(song);
}

}  // namespace velmor::music
