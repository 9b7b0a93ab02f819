#include "spcplay/SongStream.h"

#include <algorithm>

namespace velmor::spcplay {

namespace {

char toUnsigned8(int sample) {
    return static_cast<char>(static_cast<std::uint8_t>((sample >> 8) + 128));
}

}  // namespace

void convertFrames(std::span<const std::int16_t> frames, PcmLayout layout, std::span<char> out) {
    const std::size_t count = frames.size() / 2;
    std::size_t at = 0;
    const auto put = [&](int sample) {
        if (layout.eightBit) {
            out[at++] = toUnsigned8(sample);
        } else {
            const auto value = static_cast<std::uint16_t>(static_cast<std::int16_t>(sample));
            out[at++] = static_cast<char>(value & 0xff);  // little-endian, as the sink expects
            out[at++] = static_cast<char>(value >> 8);
        }
    };
    for (std::size_t i = 0; i < count; ++i) {
        const int left = frames[2 * i];
        const int right = frames[2 * i + 1];
        if (layout.channels == 2) {
            put(left);
            put(right);
        } else {
            put((left + right) / 2);
        }
    }
}

SongStream::SongStream(std::unique_ptr<SpcSong> song, PcmLayout layout, QObject* parent)
    : QIODevice(parent),
      m_song(std::move(song)),
      m_layout(layout),
      m_framesLeft(static_cast<qint64>(m_song->lengthMs()) * m_song->sampleRate() / 1000) {}

qint64 SongStream::bytesAvailable() const {
    return m_framesLeft * m_layout.bytesPerFrame() + QIODevice::bytesAvailable();
}

qint64 SongStream::playedMs() const {
    return m_framesDone * 1000 / m_song->sampleRate();
}

qint64 SongStream::readData(char* data, qint64 maxSize) {
    // At most a tenth of a second per pull keeps each emulation step short.
    const qint64 frames = std::min({maxSize / m_layout.bytesPerFrame(), m_framesLeft,
                                    static_cast<qint64>(m_song->sampleRate() / 10)});
    if (frames <= 0) {
        return 0;
    }
    m_scratch.resize(static_cast<std::size_t>(frames) * 2);
    m_song->render(m_scratch);
    const auto bytes = frames * m_layout.bytesPerFrame();
    convertFrames(m_scratch, m_layout, {data, static_cast<std::size_t>(bytes)});
    const bool first = m_framesDone == 0;
    m_framesLeft -= frames;
    m_framesDone += frames;
    if (first) {
        emit started();
    }
    return bytes;
}

}  // namespace velmor::spcplay
