#include "spcplay/PlayerArguments.h"

#include <QFile>

namespace velmor::spcplay {

PlayerArguments parseArguments(const QList<QByteArray>& words) {
    PlayerArguments arguments;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QByteArray& word = words[i];
        if (word == "-8") {
            arguments.eightBit = true;
        } else if (word == "-z") {
            arguments.stereo = true;
        } else if (word == "-q" || word == "-x") {
            // Sound buffering and ADSR->gain switching belong to SPCPlay's own sound engine;
            // the emulation used here has neither to change.
        } else if (word == "-r" && i + 1 < words.size()) {
            bool number = false;
            const int index = words[i + 1].toInt(&number);
            if (number && index >= 0 && index < static_cast<int>(std::size(kRates))) {
                arguments.sampleRate = kRates[index];
                ++i;
            } else {
                arguments.unknown << QFile::decodeName(word);
            }
        } else if (word.startsWith('-')) {
            arguments.unknown << QFile::decodeName(word);
        } else if (!word.isEmpty()) {
            if (!arguments.songFile.isEmpty()) {
                arguments.unknown << arguments.song;
            }
            arguments.songFile = word;
            arguments.song = QFile::decodeName(word);
        }
    }
    return arguments;
}

}  // namespace velmor::spcplay
