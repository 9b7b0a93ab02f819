#include "spcplay/SpcSong.h"

#include <gme/gme.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

namespace velmor::spcplay {

namespace {

constexpr std::string_view kSignature = "SNES-SPC700 Sound File Data";
// Header, 64 KiB of RAM and the 128 DSP registers: less than this is not a whole saved state.
constexpr std::uintmax_t kMinimumSize = 0x10180;
// Far beyond any real file (state plus extended tag); keeps a wrong file from filling memory.
constexpr std::uintmax_t kMaximumSize = 1 << 20;

SpcSong::Opened failure(std::string error) {
    return {nullptr, std::move(error)};
}

}  // namespace

SpcSong::Opened SpcSong::open(const std::filesystem::path& file, int sampleRate) {
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (file.empty()) {
        return failure("no song was given");
    }
    if (!std::filesystem::exists(status)) {
        return failure("no such file");
    }
    if (std::filesystem::is_directory(status)) {
        return failure("is a folder, not an SPC file");
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return failure("cannot be read");
    }
    std::vector<char> data;
    data.resize(kMaximumSize + 1);
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        return failure("cannot be read");
    }
    if (data.size() < kSignature.size() ||
        !std::equal(kSignature.begin(), kSignature.end(), data.begin())) {
        return failure("not an SPC file");
    }
    if (data.size() < kMinimumSize) {
        return failure("truncated SPC file");
    }
    if (data.size() > kMaximumSize) {
        return failure("too large for an SPC file");
    }

    EmuHandle emu(gme_new_emu(gme_spc_type, sampleRate));
    if (emu == nullptr) {
        return failure("out of memory");
    }
    if (const char* loadError =
            gme_load_data(emu.get(), data.data(), static_cast<long>(data.size()))) {
        return failure(std::string("damaged SPC file (") + loadError + ")");
    }
    gme_info_t* info = nullptr;
    std::string title;
    int lengthMs = kDefaultLengthMs;
    if (gme_track_info(emu.get(), &info, 0) == nullptr && info != nullptr) {
        title = info->song;
        if (info->length > 0) {
            lengthMs = info->length;
        }
        gme_free_info(info);
    }
    if (title.find_first_not_of(' ') == std::string::npos) {
        title = file.filename().string();
    }
    // Silence is music too: never skip ahead over a quiet opening.
    gme_ignore_silence(emu.get(), 1);
    if (const char* startError = gme_start_track(emu.get(), 0)) {
        return failure(std::string("damaged SPC file (") + startError + ")");
    }
    return {
        std::make_unique<SpcSong>(Token(), std::move(emu), std::move(title), lengthMs, sampleRate),
        {}};
}

void SpcSong::FreeEmu::operator()(Music_Emu* emu) const {
    gme_delete(emu);
}

SpcSong::SpcSong(Token, EmuHandle emu, std::string title, int lengthMs, int sampleRate)
    : m_emu(std::move(emu)),
      m_title(std::move(title)),
      m_lengthMs(lengthMs),
      m_sampleRate(sampleRate) {}

bool SpcSong::render(std::span<std::int16_t> frames) {
    if (gme_play(m_emu.get(), static_cast<int>(frames.size()), frames.data()) != nullptr) {
        std::ranges::fill(frames, std::int16_t{0});
        return false;
    }
    return true;
}

}  // namespace velmor::spcplay
