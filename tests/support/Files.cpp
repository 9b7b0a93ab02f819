#include "support/Files.h"

#include <gtest/gtest.h>
#include <zip.h>

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

std::string noise(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
    }
    return bytes;
}

std::string windowsHeader(unsigned machine) {
    std::string bytes(0x80, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    bytes[0x3C] = 0x40;
    if (machine != 0) {
        bytes.replace(0x40, 4, std::string("PE\0\0", 4));
        bytes[0x44] = static_cast<char>(machine & 0xFF);
        bytes[0x45] = static_cast<char>(machine >> 8);
    }
    return bytes;
}

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "velmor-test-XXXXXX").string();
    path = ::mkdtemp(pattern.data());
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

void makeZip(const std::filesystem::path& archive, const std::string& member,
             const std::string& bytes) {
    int error = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
    ASSERT_GE(zip_file_add(zip, member.c_str(), source, ZIP_FL_ENC_RAW), 0);
    ASSERT_EQ(zip_close(zip), 0);
}

}  // namespace velmor::test
