// libFuzzer target: mutated playlist files go through the reader, from memory whole and in two
// pieces, cut short, and from a file, and what was read goes back through the writer. Built and run
// by tools/fuzz.sh, which hands in a private folder as VELMOR_FUZZ_DIR.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "music/Playlist.h"
#include "music/PlaylistParser.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "playlist fuzzer: %s\n", what);
    std::abort();
}

fs::path workFolder() {
    const char* given = std::getenv("VELMOR_FUZZ_DIR");
    const fs::path root = given != nullptr ? fs::path(given) : fs::temp_directory_path();
    fs::create_directories(root);
    return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path root = workFolder();
    static std::size_t runs = 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> entries = velmor::music::parsePlaylist(bytes).entries.toVector();
    if (entries.size() > size) {
        fail("more entries than bytes");
    }
    const std::size_t split = size == 0 ? 0 : data[0] % (size + 1);
    velmor::music::PlaylistParser pieces(velmor::music::kMostSongs, size);
    pieces.feed(std::string_view(bytes).substr(0, split));
    pieces.feed(std::string_view(bytes).substr(split));
    if (std::move(pieces).finish().entries.toVector() != entries) {
        fail("the bytes in two pieces read otherwise than whole");
    }
    const std::size_t most = size == 0 ? 0 : data[size - 1] % 8;
    const velmor::music::PlaylistRead cut = velmor::music::parsePlaylist(bytes, most);
    const std::vector<std::string> first(
        entries.begin(),
        entries.begin() + static_cast<std::ptrdiff_t>(std::min(most, entries.size())));
    if (cut.cut != (entries.size() > most) || cut.entries.toVector() != first) {
        fail("a list cut short is not the first entries of the whole");
    }

    const fs::path file = root / "fuzz.spl";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(size));
    const auto read = velmor::music::readPlaylist(file.string());
    if (!read || read->entries.toVector() != entries) {
        fail("the file reads otherwise than its bytes");
    }

    // Every entry the format can hold (no quote, no trailing blank) comes back as it went.
    std::vector<std::string> writable;
    for (const std::string& entry : entries) {
        if (entry.find('"') == std::string::npos && !entry.ends_with(' ')) {
            writable.push_back(entry);
        }
    }
    if (velmor::music::parsePlaylist(velmor::music::playlistText(writable)).entries.toVector() !=
        writable) {
        fail("written entries read back otherwise");
    }
    // Through a real save now and then: each one waits for the disk.
    if (++runs % 256 == 0) {
        const std::string saved = (root / "saved.spl").string();
        const velmor::music::PathList paths(writable);
        if (!velmor::music::writePlaylist(saved, paths) ||
            velmor::music::readPlaylist(saved)->entries != paths) {
            fail("a saved playlist reads back otherwise");
        }
    }
    return 0;
}
