#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmor::test {

// The file's bytes; empty when it cannot be read.
std::string readFile(const std::filesystem::path& file);
// Makes the file hold exactly these bytes, its folders made first.
void writeFile(const std::filesystem::path& file, std::string_view bytes);
// A folder of `base`, private to the user as the program's runtime folder must be, made the
// XDG_RUNTIME_DIR of this process.
std::filesystem::path useRuntimeFolder(const std::filesystem::path& base);
// A zip archive of one member holding `bytes`, its name stored as raw bytes.
void makeZip(const std::filesystem::path& archive, const std::string& member,
             const std::string& bytes);
// Bytes that do not compress, the same for the same seed.
std::string noise(std::size_t size, unsigned seed);

// A program header: "MZ", the offset of the Windows header at 0x3C, and there "PE\0\0" and the
// machine (0x14C for a 32-bit, 0x8664 for a 64-bit processor); `machine` 0 leaves the Windows
// header out (a DOS program).
std::string windowsHeader(unsigned machine);

// A fresh folder under the system's temporary folder, removed with everything in it when it goes
// (names that are not UTF-8 included, which QTemporaryDir leaves behind).
struct TempFolder {
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::filesystem::path path;
};

}  // namespace velmor::test
