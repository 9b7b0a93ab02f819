// libFuzzer target: mutated archives go through the extraction in every mode, and after each
// run nothing may exist outside the extraction folder, nor a link or a temporary file inside
// it. Built and run by tools/fuzz.sh, which hands in a private folder as VELMOR_FUZZ_DIR.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "launch/Unzip.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "unzip fuzzer: %s\n", what.c_str());
    std::abort();
}

fs::path workFolder() {
    const char* given = std::getenv("VELMOR_FUZZ_DIR");
    const fs::path root = given != nullptr ? fs::path(given) : fs::temp_directory_path();
    fs::create_directories(root);
    return root;
}

void checkFolder(const fs::path& root) {
    for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
        const fs::path& path = it->path();
        const std::string relative = path.lexically_relative(root).string();
        if (relative == "game.zip" || relative == "out") {
            continue;
        }
        if (!relative.starts_with("out/")) {
            fail("written outside the folder: " + relative);
        }
        const auto status = it->symlink_status();
        if (fs::is_symlink(status)) {
            fail("a link was made: " + relative);
        }
        if (path.filename().string().starts_with(".velmor-unzip-")) {
            fail("a temporary file was left: " + relative);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path root = workFolder();
    const fs::path archive = root / "game.zip";
    const fs::path out = root / "out";
    std::ofstream(archive, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    int answers = 0;
    const velmor::launch::UnzipCallbacks callbacks{
        [](std::string_view text) {
            if (text.empty() || text.back() != '\n') {
                fail("a report piece that is not a line");
            }
        },
        [&](std::string_view) {
            constexpr int kAnswers[] = {velmor::launch::kReplaceYes, velmor::launch::kReplaceNo,
                                        velmor::launch::kReplaceNone};
            return kAnswers[answers++ % 3];
        }};
    // The launcher's way, then folders kept with questions (a second pass over the same folder
    // meets every file again), then a listing.
    fs::remove_all(out);
    fs::create_directory(out);
    const std::uint64_t cap = std::uint64_t{1} << 20;
    velmor::launch::UnzipOptions launch;
    launch.overwrite = true;
    launch.memberCap = cap;
    velmor::launch::unzipArchive(archive.string(), out.string(), launch, callbacks);
    checkFolder(root);
    velmor::launch::UnzipOptions asking;
    asking.prompt = true;
    asking.keepDirectories = true;
    asking.include = {"*"};
    asking.exclude = {"*.txt"};
    asking.memberCap = cap;
    for (int pass = 0; pass < 2; ++pass) {
        velmor::launch::unzipArchive(archive.string(), out.string(), asking, callbacks);
        checkFolder(root);
    }
    velmor::launch::UnzipOptions listing;
    listing.list = true;
    listing.memberCap = cap;
    velmor::launch::unzipArchive(archive.string(), out.string(), listing, callbacks);
    checkFolder(root);
    return 0;
}
