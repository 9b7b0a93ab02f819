#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor::launch {

// Answers to the question whether an existing file is to be overwritten.
inline constexpr int kReplaceNo = 100;    // keep this file
inline constexpr int kReplaceYes = 102;   // overwrite this file
inline constexpr int kReplaceNone = 104;  // keep this file and every later one

// Members larger than this are never written: far above any ROM image, and small enough that a
// hostile archive cannot fill the disk.
inline constexpr std::uint64_t kUnzipMemberCap = std::uint64_t{256} << 20;

struct UnzipCallbacks {
    // Receives the report, a piece of text at a time.
    std::function<void(std::string_view text)> print;
    // Receives the path of a file that already exists and answers with a kReplace code.
    std::function<int(std::string_view path)> replace;
};

// Extracts the members of the zip archive `archive` into the folder `directory`.
//
// Each member written is reported as one line: the action field ("  inflating: " or
// " extracting: "), the written path (`directory` + "/" + the member's path), two blanks and a
// line feed. Members that are not written (encrypted, damaged, larger than `memberCap`, links,
// names that give no file) and archive errors get report lines of their own. Folder members
// are passed over silently unless `keepDirectories` recreates them.
//
// `keepDirectories`: members keep their stored folders below `directory`; otherwise each lands
// directly in it under the last component of its name. `overwrite` replaces existing files;
// otherwise `prompt` asks `callbacks.replace` for each, and without either they are kept.
// `list` reports the members instead of extracting them. `include` and `exclude` hold
// wildcard patterns over the stored names; an empty `include` takes every member.
//
// Nothing is written outside `directory`, no link is followed, and a member that fails leaves
// no file behind.
void unzipArchive(std::string_view archive, std::string_view directory, bool prompt, bool overwrite,
                  bool list, bool keepDirectories, const std::vector<std::string>& include,
                  const std::vector<std::string>& exclude, const UnzipCallbacks& callbacks,
                  std::uint64_t memberCap = kUnzipMemberCap);

}  // namespace velmor::launch
