// libFuzzer target: mutated playlist files go through the reader, from memory and from a file,
// and what was read goes back through the writer. Built and run by tools/fuzz.sh, which hands
// in a private folder as VELMOR_FUZZ_DIR.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "music/Playlist.h"

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
    const std::vector<std::string> entries = velmor::music::parsePlaylist(bytes);
    if (entries.size() > size) {
        fail("more entries than bytes");
    }

    const fs::path file = root / "fuzz.spl";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(size));
    if (velmor::music::readPlaylist(file.string()) != entries) {
        fail("the file reads otherwise than its bytes");
    }

    // Every entry the format can hold (no quote, no trailing blank) comes back as it went.
    std::vector<std::string> writable;
    for (const std::string& entry : entries) {
        if (entry.find('"') == std::string::npos && !entry.ends_with(' ')) {
            writable.push_back(entry);
        }
    }
    if (velmor::music::parsePlaylist(velmor::music::playlistText(writable)) != writable) {
        fail("written entries read back otherwise");
    }
    // Through a real save now and then: each one waits for the disk.
    if (++runs % 256 == 0) {
        const std::string saved = (root / "saved.spl").string();
        if (!velmor::music::writePlaylist(saved, writable) ||
            velmor::music::readPlaylist(saved) != writable) {
            fail("a saved playlist reads back otherwise");
        }
    }
    return 0;
}
