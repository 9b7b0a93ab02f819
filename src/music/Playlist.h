#pragma once

#include <cstddef>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "music/PathList.h"

namespace velmor::music {

// Playlist files (.spl): one double-quoted path per line, lines ended by CR LF, no header.
// Entries are bytes as the file system gives them; nothing is decoded.

// The most songs a playlist gives: far beyond any real list, and few enough for the song list to
// hold and show them all at ease. The rest of a longer file is not read.
inline constexpr std::size_t kMostSongs = 1'000'000;

struct PlaylistRead {
    PathList entries;
    bool cut = false;  // the file held more entries than were asked for
};

// What the user is told of a playlist of more than kMostSongs entries, cut to that many.
std::string playlistCutText(std::string_view playlist);

// The entries of a playlist file, in order, up to `most`. Nothing when the file cannot be
// opened or read: a folder, a missing or unreadable file, anything that is not a regular file (a
// pipe or a device could hold the program forever), a file of more than 256 MiB, a read stopped
// through `stop`, or one that ran out of memory.
std::optional<PlaylistRead> readPlaylist(const std::string& path, std::size_t most = kMostSongs,
                                         std::stop_token stop = {});

// The entries of a playlist's bytes, up to `most`. Fields end at a comma or a line end (CR LF,
// LF alone or CR alone); blanks and tabs before a field are skipped.
// - A field that begins with a double quote runs to the next double quote, line ends
//   included; its bytes are kept exactly, an empty "" included. Whatever follows the closing
//   quote up to the next comma or line end is dropped. A quote that is never closed holds the
//   rest of its line.
// - Any other field runs to the next comma or line end and loses its trailing blanks and tabs;
//   an empty one (an empty line, ",,", a comma at a line's end) gives no entry.
// - A UTF-8 byte order mark at the very start is skipped.
PlaylistRead parsePlaylist(std::string_view bytes, std::size_t most = kMostSongs);

// The bytes of a playlist file: each entry without its trailing blanks, quoted, then CR LF. An
// empty list gives no bytes at all.
std::string playlistText(const PathList& entries);
std::string playlistText(const std::vector<std::string>& entries);

// Writes the playlist as a whole or not at all: the bytes go into a new file beside the target,
// which then takes its place, so that a failure (a full disk, a folder that cannot be written,
// a target that is a folder or a file the user may not write) leaves any old file as it was.
// An existing file keeps its permissions; a link is followed and its target replaced.
bool writePlaylist(const std::string& path, const PathList& entries);

}  // namespace velmor::music
