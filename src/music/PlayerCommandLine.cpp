#include "music/PlayerCommandLine.h"

#include "settings/Controls.h"
#include "settings/Holders.h"

namespace velmor::music {

PlayerOptions readPlayerOptions(const settings::Holders& holders) {
    using namespace controls;
    return {holders.boxState(kCheck3), holders.boxState(kCheck14), holders.boxState(kCheck11),
            holders.boxState(kCheck2), holders.listIndex(kCombo1)};
}

std::string playerSwitches(const PlayerOptions& options) {
    std::string switches;
    const auto add = [&switches](int box, std::string_view text) {
        if (settings::isTicked(box)) {
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
