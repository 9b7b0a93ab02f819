#include "support/Files.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace velmor::test {

namespace fs = std::filesystem;

std::string readFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& file, std::string_view bytes) {
    if (file.has_parent_path()) {
        fs::create_directories(file.parent_path());
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), std::ssize(bytes));
}

fs::path useRuntimeFolder(const fs::path& base) {
    const fs::path folder = base / "runtime";
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    return folder;
}

}  // namespace velmor::test
