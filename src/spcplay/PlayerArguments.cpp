#include "spcplay/PlayerArguments.h"

namespace velmor::spcplay {

PlayerArguments parseArguments(const QStringList& words) {
    PlayerArguments arguments;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (word == QLatin1String("-8")) {
            arguments.eightBit = true;
        } else if (word == QLatin1String("-z")) {
            arguments.stereo = true;
        } else if (word == QLatin1String("-q") || word == QLatin1String("-x")) {
            // Sound buffering and ADSR->gain switching belong to SPCPlay's own sound engine;
            // the emulation used here has neither to change.
        } else if (word == QLatin1String("-r") && i + 1 < words.size()) {
            bool number = false;
            const int index = words[i + 1].toInt(&number);
            if (number && index >= 0 && index < static_cast<int>(std::size(kRates))) {
                arguments.sampleRate = kRates[index];
                ++i;
            } else {
                arguments.unknown << word;
            }
        } else if (word.startsWith(QLatin1Char('-'))) {
            arguments.unknown << word;
        } else if (!word.isEmpty()) {
            if (!arguments.song.isEmpty()) {
                arguments.unknown << arguments.song;
            }
            arguments.song = word;
        }
    }
    return arguments;
}

}  // namespace velmor::spcplay
