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

}  // namespace velmor::test
