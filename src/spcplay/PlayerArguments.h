#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace velmor::spcplay {

// What the player was asked for on its command line, in SPCPlay's words:
//   velmor-spcplay [-8] [-q] [-x] [-z] [-r 0..3] [--] SONG
// and the Linux program's own -h/--help and -V/--version.
struct PlayerArguments {
    enum class Action { Play, Help, Version, Misuse };
    Action action = Action::Play;
    int sampleRate = 44100;
    bool stereo = false;
    bool eightBit = false;
    QByteArray songFile;  // the song's name as given, the bytes to open; empty when none was
    QString song;         // the same name for showing and telling
    QStringList unknown;  // words that are neither a switch nor the song
    QString misuse;       // for Misuse: the option starting with `--` that is not known
};

// The sampling rates "-r 0" to "-r 3" choose.
inline constexpr int kRates[] = {8000, 11025, 22050, 44100};

// Reads the words after the program's name, as the bytes the command line holds: a file's name
// need not be text in any encoding. The song is the last word that is not a switch, so a missing
// song (an empty short name) leaves it empty rather than taking a switch's value. Unknown
// switches of one dash are passed over, as SPCPlay did; one of two dashes is a mistake. After
// `--` every word is a song's name.
PlayerArguments parseArguments(const QList<QByteArray>& words);

// `velmor-spcplay --help`'s text.
const char* playerUsage();

}  // namespace velmor::spcplay
