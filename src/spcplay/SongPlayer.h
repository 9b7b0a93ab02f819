#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "spcplay/SongStream.h"

class QAudioSink;

namespace velmor::spcplay {

// Plays one song on the default sound output until it ends or is stopped.
class SongPlayer final : public QObject {
    Q_OBJECT
  public:
    SongPlayer(std::unique_ptr<SpcSong> song, PcmLayout layout, QObject* parent = nullptr);
    ~SongPlayer() override;

    // Starts the sound; the empty text, or why there is no sound ("no sound device", ...).
    QString start();
    void stop();
    // Milliseconds of the song played so far.
    qint64 playedMs() const;
    int lengthMs() const { return m_lengthMs; }

  signals:
    void firstSamples();
    // The song reached its length, or the sound device failed while playing.
    void ended();

  private:
    void onStateChanged();

    SongStream* m_stream;          // owned as a child
    QAudioSink* m_sink = nullptr;  // owned as a child
    PcmLayout m_layout;
    int m_sampleRate;
    int m_lengthMs;
    bool m_stopped = false;
};

}  // namespace velmor::spcplay
