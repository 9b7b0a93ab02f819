#include "spcplay/PlayerArguments.h"

#include <QFile>

namespace velmor::spcplay {

namespace {

// The player's own switches; false for a word that is not one of them.
bool readSwitch(PlayerArguments& arguments, const QList<QByteArray>& words, qsizetype& i) {
    const QByteArray& word = words[i];
    if (word == "-8") {
        arguments.eightBit = true;
    } else if (word == "-z") {
        arguments.stereo = true;
    } else if (word == "-q" || word == "-x") {
        // Sound buffering and ADSR->gain switching belong to SPCPlay's own sound engine;
        // the emulation used here has neither to change.
    } else if (word == "--help" || word == "-h") {
        arguments.action = PlayerArguments::Action::Help;
    } else if (word == "--version" || word == "-V") {
        if (arguments.action == PlayerArguments::Action::Play) {
            arguments.action = PlayerArguments::Action::Version;
        }
    } else if (word == "-r" && i + 1 < words.size()) {
        bool number = false;
        const int index = words[i + 1].toInt(&number);
        if (number && index >= 0 && index < static_cast<int>(std::size(kRates))) {
            arguments.sampleRate = kRates[index];
            ++i;
        } else {
            arguments.unknown << QFile::decodeName(word);
        }
    } else if (word.startsWith("--")) {
        if (arguments.misuse.isEmpty()) {
            arguments.misuse = QFile::decodeName(word);
        }
    } else if (word.startsWith('-')) {
        arguments.unknown << QFile::decodeName(word);
    } else {
        return false;
    }
    return true;
}

}  // namespace

PlayerArguments parseArguments(const QList<QByteArray>& words) {
    PlayerArguments arguments;
    bool options = true;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QByteArray& word = words[i];
        if (options && word == "--") {
            options = false;
            continue;
        }
        if ((options && readSwitch(arguments, words, i)) || word.isEmpty()) {
            continue;
        }
        if (!arguments.songFile.isEmpty()) {
            arguments.unknown << arguments.song;
        }
        arguments.songFile = word;
        arguments.song = QFile::decodeName(word);
    }
    if (!arguments.misuse.isEmpty() && arguments.action != PlayerArguments::Action::Help) {
        arguments.action = PlayerArguments::Action::Misuse;
    }
    return arguments;
}

const char* playerUsage() {
    return "usage: velmor-spcplay [-8] [-q] [-x] [-z] [-r 0|1|2|3] [--] SONG\n"
           "       velmor-spcplay --help | --version\n"
           "\n"
           "Plays an SPC song in a small window that answers SPCPlay's keys:\n"
           "Return stops the song, Tab closes the player.\n"
           "\n"
           "  -r N           sampling rate: 0 8000, 1 11025, 2 22050, 3 44100 Hz (default)\n"
           "  -z             stereo (mono otherwise)\n"
           "  -8             8-bit samples (16-bit otherwise)\n"
           "  -q, -x         accepted, and without effect\n"
           "  -h, --help     show this text and exit\n"
           "  -V, --version  show the version and exit\n";
}

}  // namespace velmor::spcplay
