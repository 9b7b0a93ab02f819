#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor::music {

// Playlist files (.spl): one double-quoted path per line, lines ended by CR LF, no header.
// Entries are bytes as the file system gives them; nothing is decoded.

// The entries of a playlist file, in order. Nothing when the file cannot be opened or read: a
// folder, a missing or unreadable file, anything that is not a regular file (a pipe or a device
// could hold the program forever), or a file of more than 256 MiB.
std::optional<std::vector<std::string>> readPlaylist(const std::string& path);

// The entries of a playlist's bytes. Fields end at a comma or a line end (CR LF, LF alone or
// CR alone); blanks and tabs before a field are skipped.
// - A field that begins with a double quote runs to the next double quote, line ends
//   included; its bytes are kept exactly, an empty "" included. Whatever follows the closing
//   quote up to the next comma or line end is dropped. A quote that is never closed holds the
//   rest of its line.
// - Any other field runs to the next comma or line end and loses its trailing blanks and tabs;
//   an empty one (an empty line, ",,", a comma at a line's end) gives no entry.
// - A UTF-8 byte order mark at the very start is skipped.
std::vector<std::string> parsePlaylist(std::string_view bytes);

// The bytes of a playlist file: each entry without its trailing blanks, quoted, then CR LF. An
// empty list gives no bytes at all.
std::string playlistText(const std::vector<std::string>& entries);

// Writes the playlist as a whole or not at all: the bytes go into a new file beside the target,
// which then takes its place, so that a failure (a full disk, a folder that cannot be written,
// a target that is a folder or a file the user may not write) leaves any old file as it was.
// An existing file keeps its permissions; a link is followed and its target replaced.
bool writePlaylist(const std::string& path, const std::vector<std::string>& entries);

}  // namespace velmor::music
