#include "spcplay/SpcSong.h"

#include <fcntl.h>
#include <gme/gme.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <vector>

#include "platform/UniqueFd.h"

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

// Why something that is there is still not a file to read a song from.
std::string notAFile(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "is a folder, not an SPC file";
    }
    if (S_ISFIFO(mode)) {
        return "is a named pipe, not an SPC file";
    }
    if (S_ISSOCK(mode)) {
        return "is a socket, not an SPC file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "is a device, not an SPC file";
    }
    return "not a regular file";
}

}  // namespace

SpcSong::Opened SpcSong::open(const std::filesystem::path& file, int sampleRate) {
    if (file.empty()) {
        return failure("no song was given");
    }
    // Whatever is named is looked at before it is opened, so that a device is never opened at
    // all, and again through the descriptor, which is what is read. Non-blocking so that a pipe
    // named in between cannot hold the player in open() waiting for a writer.
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return failure(errno == ENOENT || errno == ENOTDIR ? "no such file" : "cannot be read");
    }
    if (!S_ISREG(status.st_mode)) {
        return failure(notAFile(status.st_mode));
    }
    platform::UniqueFd in(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!in || ::fstat(in.get(), &status) != 0) {
        return failure("cannot be read");
    }
    if (!S_ISREG(status.st_mode)) {
        return failure(notAFile(status.st_mode));
    }
    // A file's reads then wait for its bytes as they always have.
    if (const int flags = ::fcntl(in.get(), F_GETFL);
        flags < 0 || ::fcntl(in.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return failure("cannot be read");
    }
    std::vector<char> data(kMaximumSize + 1);
    std::size_t filled = 0;
    while (filled < data.size()) {
        const ssize_t got = ::read(in.get(), data.data() + filled, data.size() - filled);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failure("cannot be read");
        }
        filled += static_cast<std::size_t>(got);
    }
    data.resize(filled);
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
