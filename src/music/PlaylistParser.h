#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "music/Playlist.h"

namespace velmor::music {

// Reads a playlist's bytes as they come, in pieces of any size, by the rules of parsePlaylist.
// Every byte is looked at once, and nothing of the file is kept but the entries themselves, so
// that reading a file costs little more memory than the list it gives.
class PlaylistParser final {
  public:
    // `sizeHint`: the bytes expected in all, room made at once for the entries they can hold.
    PlaylistParser(std::size_t most, std::size_t sizeHint);

    // False once `most` entries are complete and another begins: the rest is not needed.
    bool feed(std::string_view piece);
    // The entries, once every piece has been fed.
    PlaylistRead finish() &&;

  private:
    enum class State { Between, Plain, Quoted, AfterQuote };

    void consume(std::string_view piece);
    void endPlain();
    void endUnclosedQuote();

    std::size_t most_;
    std::string bytes_;              // the entries, one after another
    std::vector<std::size_t> ends_;  // where each ends in bytes_
    State state_ = State::Between;
    std::size_t fieldStart_ = 0;    // where the open entry begins in bytes_
    std::size_t firstLineEnd_ = 0;  // in an open quoted entry, its first line end (or none)
    std::string head_;              // the first bytes, until a byte order mark is told apart
    bool started_ = false;
    bool cut_ = false;
};

}  // namespace velmor::music
