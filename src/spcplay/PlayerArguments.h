#pragma once

#include <QStringList>

namespace velmor::spcplay {

// What the player was asked for on its command line, in SPCPlay's words:
//   velmor-spcplay [-8] [-q] [-x] [-z] [-r 0..3] SONG
struct PlayerArguments {
    int sampleRate = 44100;
    bool stereo = false;
    bool eightBit = false;
    QString song;         // empty when the command line named none
    QStringList unknown;  // words that are neither a switch nor the song
};

// The sampling rates "-r 0" to "-r 3" choose.
inline constexpr int kRates[] = {8000, 11025, 22050, 44100};

// Reads the words after the program's name. The song is the last word that is not a switch, so
// a missing song (an empty short name) leaves it empty rather than taking a switch's value.
PlayerArguments parseArguments(const QStringList& words);

}  // namespace velmor::spcplay
