#pragma once

#include <QIODevice>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "spcplay/SpcSong.h"

namespace velmor::spcplay {

// The samples the sound device is given: the song's rate, one or two channels, 8 or 16 bits.
struct PcmLayout {
    int channels = 2;
    bool eightBit = false;
    int bytesPerFrame() const { return channels * (eightBit ? 1 : 2); }
};

// Writes stereo 16-bit frames in `layout`: mono is the mean of both channels, 8-bit samples
// are unsigned around 128. `out` holds frames.size() / 2 * layout.bytesPerFrame() bytes.
void convertFrames(std::span<const std::int16_t> frames, PcmLayout layout, std::span<char> out);

// The song as a sequential device the sound sink pulls from. Rendering happens in the pull, a
// few milliseconds of emulation at a time, so the window's thread is never held for long. The
// stream ends at the song's length.
class SongStream final : public QIODevice {
    Q_OBJECT
  public:
    SongStream(std::unique_ptr<SpcSong> song, PcmLayout layout, QObject* parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    // Milliseconds of the song handed out so far.
    qint64 playedMs() const;
    bool atSongEnd() const { return m_framesLeft == 0; }

  signals:
    // The first samples have been handed to the sink.
    void started();

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    std::unique_ptr<SpcSong> m_song;
    PcmLayout m_layout;
    qint64 m_framesLeft;
    qint64 m_framesDone = 0;
    std::vector<std::int16_t> m_scratch;
};

}  // namespace velmor::spcplay
