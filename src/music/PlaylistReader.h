#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "music/Playlist.h"

namespace velmor::music {

// Reads playlists on threads of their own, so that a long list never holds up the window; the
// result comes back on the window's thread, through its event loop. Only the latest read counts:
// a new read, cancel() or the reader's end drops the results of those before, which stop early.
// The threads share nothing with the window but the path they are given and the result they
// hand back.
class PlaylistReader final {
  public:
    // The entries read, or nothing when the file could not be read.
    using Done = std::function<void(std::optional<PlaylistRead>)>;

    explicit PlaylistReader(std::size_t mostSongs = kMostSongs) : mostSongs_(mostSongs) {}
    // Waits for the threads still running; each stops at its next piece of the file.
    ~PlaylistReader();
    PlaylistReader(const PlaylistReader&) = delete;
    PlaylistReader& operator=(const PlaylistReader&) = delete;

    void read(std::string path, Done done);
    void cancel();
    // Whether a read has begun whose result has not yet been handed on.
    bool reading() const { return static_cast<bool>(done_); }

  private:
    void finished(std::uint64_t id, std::optional<PlaylistRead> result);

    std::size_t mostSongs_;
    QObject receiver_;  // results arrive as events to it, on the window's thread
    std::vector<std::pair<std::uint64_t, std::jthread>> threads_;
    std::uint64_t latest_ = 0;
    Done done_;
};

}  // namespace velmor::music
