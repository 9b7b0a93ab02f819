#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor::launch {

// Answers to the question whether an existing file is to be overwritten.
inline constexpr int kReplaceNo = 100;    // keep this file
inline constexpr int kReplaceYes = 102;   // overwrite this file
inline constexpr int kReplaceNone = 104;  // keep this file and every later one

// Members larger than this are never written: far above any ROM image.
inline constexpr std::uint64_t kUnzipMemberCap = std::uint64_t{256} << 20;
// What one extraction writes at the most, all members together; each file counts at least
// kUnzipFileCost, so that many tiny members cannot fill the folder either.
inline constexpr std::uint64_t kUnzipTotalCap = std::uint64_t{512} << 20;
inline constexpr std::uint64_t kUnzipFileCost = 4096;

struct UnzipCallbacks {
    // Receives the report, a piece of text at a time.
    std::function<void(std::string_view text)> print;
    // Receives the path of a file that already exists and answers with a kReplace code.
    std::function<int(std::string_view path)> replace;
};

// How an extraction goes. The zip launch sets `overwrite` and leaves the rest as they are.
struct UnzipOptions {
    // Ask `callbacks.replace` before an existing file is replaced.
    bool prompt = false;
    // Replace existing files without asking.
    bool overwrite = false;
    // Report the members instead of extracting them.
    bool list = false;
    // Members keep their stored folders below the extraction folder; otherwise each lands
    // directly in it under the last component of its name.
    bool keepDirectories = false;
    // Wildcard patterns over the stored names; an empty `include` takes every member.
    std::vector<std::string> include;
    std::vector<std::string> exclude;
    std::uint64_t memberCap = kUnzipMemberCap;
    std::uint64_t totalCap = kUnzipTotalCap;
    // What the folder's file system keeps free: no write goes below it. By default 32 MiB, or a
    // twentieth of the file system where that is less.
    std::optional<std::uint64_t> keepFree;
    // Set from another thread to end the extraction early; what it had begun is not kept.
    const std::atomic<bool>* stop = nullptr;
};

// Why a member was not written.
enum class UnzipRefusal {
    None,
    TooLarge,   // larger than the member cap
    OverTotal,  // past the cap of the whole extraction
    NoSpace,    // the folder's file system would run short
    Unusable,   // a link, a device, no usable name, encrypted, damaged, or not writable
};

// What an extraction did, beside its report.
struct UnzipOutcome {
    int written = 0;  // files written
    // The first member not written, and why (as its report line says it).
    UnzipRefusal refusal = UnzipRefusal::None;
    std::string refusedMember;
    std::string refusalText;
    bool stopped = false;  // ended early through `UnzipOptions::stop`
};

// Extracts the members of the zip archive `archive` into the folder `directory`.
//
// Each member written is reported as one line: the action field ("  inflating: " or
// " extracting: "), the written path (`directory` + "/" + the member's path), two blanks and a
// line feed. Members that are not written (encrypted, damaged, over a cap, links, names that
// give no file, no room left) and archive errors get report lines of their own. Folder members
// are passed over silently unless `keepDirectories` recreates them.
//
// Nothing is written outside `directory`, no link is followed, and a member that fails leaves
// no file behind. The callbacks are called on the calling thread.
UnzipOutcome unzipArchive(std::string_view archive, std::string_view directory,
                          const UnzipOptions& options, const UnzipCallbacks& callbacks);

}  // namespace velmor::launch
