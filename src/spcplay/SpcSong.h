#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

struct Music_Emu;

namespace velmor::spcplay {

// How long a song plays when its tag gives no length.
inline constexpr int kDefaultLengthMs = 3 * 60 * 1000;

// One SPC file, loaded into the sound-processor emulation of libgme and rendered on demand.
class SpcSong final {
    struct Token {
        explicit Token() = default;
    };
    struct FreeEmu {
        void operator()(Music_Emu* emu) const;
    };
    using EmuHandle = std::unique_ptr<Music_Emu, FreeEmu>;

  public:
    struct Opened;
    // Loads `file` for rendering at `sampleRate`. A file that cannot be played gives no song and
    // a one-line reason ("not an SPC file", "truncated", ...).
    static Opened open(const std::filesystem::path& file, int sampleRate);

    SpcSong(Token, EmuHandle emu, std::string title, int lengthMs, int sampleRate);
    SpcSong(const SpcSong&) = delete;
    SpcSong& operator=(const SpcSong&) = delete;

    // The song's title from its ID666 tag, else the file's name.
    const std::string& title() const { return m_title; }
    // The play length its tag gives, else kDefaultLengthMs.
    int lengthMs() const { return m_lengthMs; }
    int sampleRate() const { return m_sampleRate; }

    // Fills `frames` with the next stereo frames (left, right interleaved); false when the
    // emulation failed, leaving silence.
    bool render(std::span<std::int16_t> frames);

  private:
    EmuHandle m_emu;
    std::string m_title;
    int m_lengthMs;
    int m_sampleRate;
};

struct SpcSong::Opened {
    std::unique_ptr<SpcSong> song;
    std::string error;  // empty when a song was opened
};

}  // namespace velmor::spcplay
