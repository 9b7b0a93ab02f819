#include "spcplay/SongPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>

namespace velmor::spcplay {

namespace {

// Enough to ride over a busy moment of the desktop; little enough that Stop is heard at once.
constexpr int kBufferMs = 200;

}  // namespace

SongPlayer::SongPlayer(std::unique_ptr<SpcSong> song, PcmLayout layout, QObject* parent)
    : QObject(parent),
      m_layout(layout),
      m_sampleRate(song->sampleRate()),
      m_lengthMs(song->lengthMs()) {
    m_stream = new SongStream(std::move(song), layout, this);
    connect(m_stream, &SongStream::started, this, &SongPlayer::firstSamples);
}

SongPlayer::~SongPlayer() {
    stop();
}

QString SongPlayer::start() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        return QStringLiteral("no sound device (is PulseAudio or PipeWire running?)");
    }
    QAudioFormat format;
    format.setSampleRate(m_sampleRate);
    format.setChannelCount(m_layout.channels);
    format.setSampleFormat(m_layout.eightBit ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) {
        return QStringLiteral("the sound device %1 does not take %2 Hz %3-bit %4 sound")
            .arg(device.description())
            .arg(m_sampleRate)
            .arg(m_layout.eightBit ? 8 : 16)
            .arg(m_layout.channels == 2 ? QStringLiteral("stereo") : QStringLiteral("mono"));
    }
    m_sink = new QAudioSink(device, format, this);
    m_sink->setBufferSize(static_cast<qsizetype>(m_sampleRate) * m_layout.bytesPerFrame() *
                          kBufferMs / 1000);
    connect(m_sink, &QAudioSink::stateChanged, this, &SongPlayer::onStateChanged);
    m_stream->open(QIODevice::ReadOnly);
    m_sink->start(m_stream);
    if (m_sink->error() != QAudio::NoError) {
        m_sink->disconnect(this);
        m_sink->deleteLater();
        m_sink = nullptr;
        return QStringLiteral("the sound device %1 cannot be opened").arg(device.description());
    }
    return {};
}

void SongPlayer::stop() {
    m_stopped = true;
    if (m_sink != nullptr) {
        m_sink->disconnect(this);
        m_sink->stop();
    }
    m_stream->close();
}

qint64 SongPlayer::playedMs() const {
    if (m_sink == nullptr) {
        return 0;
    }
    return std::min<qint64>(m_sink->processedUSecs() / 1000, m_lengthMs);
}

void SongPlayer::onStateChanged() {
    if (m_stopped) {
        return;
    }
    const QAudio::State state = m_sink->state();
    const bool drained = state == QAudio::IdleState && m_stream->atSongEnd();
    const bool failed = state == QAudio::StoppedState && m_sink->error() != QAudio::NoError;
    if (drained || failed) {
        stop();
        emit ended();
    }
}

}  // namespace velmor::spcplay
