#include "music/Playlist.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace velmor::music {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;
using namespace std::string_literals;

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Folder {
    QTemporaryDir made;
    const fs::path path{made.path().toStdString()};
    std::size_t files() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(path), {}));
    }
};

TEST(Playlist, ReaderRules) {
    const struct {
        const char* what;
        std::string bytes;
        Entries expected;
    } cases[] = {
        {"quoted fields on a line",
         "\"C:\\MY,FILES\\A.SPC\",\"b c\" , \"d\"\r\n",
         {"C:\\MY,FILES\\A.SPC", "b c", "d"}},
        {"plain fields", "a.spc ,b.spc\t\r\nc d.spc", {"a.spc", "b.spc", "c d.spc"}},
        {"blanks and tabs before a field", " \t\"  x\"\r\n\t y", {"  x", "y"}},
        {"LF alone, CR alone", "\"a\"\n\"b\"\rc\rd\n", {"a", "b", "c", "d"}},
        {"empty lines and fields", "\r\n\r\n\"a\",,\"b\",\r\n  \r\n,", {"a", "b"}},
        {"an empty quoted field", "\"\"\r\n\"a\"", {"", "a"}},
        {"text after a closing quote", "\"a\"x y,\"b\"z\r\nc", {"a", "b", "c"}},
        {"a quoted line end", "\"a\r\nb\"\r\n", {"a\r\nb"}},
        {"an unterminated quote", "\"a\"\r\n\"b\\c\r\nd,e\r\n", {"a", "b\\c", "d", "e"}},
        {"NUL and Latin-1 bytes",
         "\"a\0b\"\r\nc\0d,\"caf\xe9\"\r\n"s,
         {"a\0b"s, "c\0d"s, "caf\xe9"}},
        {"a byte order mark", "\xEF\xBB\xBF\"a\"\r\n", {"a"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parsePlaylist(c.bytes), c.expected) << c.what;
    }
}

TEST(Playlist, WrittenFilesReadBackTheSame) {
    Folder dir;
    const fs::path file = dir.path / "list.spl";
    ASSERT_TRUE(writePlaylist(file.string(), {"C:\\SAVES\\SONG1.SPC", "C:\\SAVES\\SONG2.SPC   "}));
    EXPECT_EQ(bytesOf(file), "\"C:\\SAVES\\SONG1.SPC\"\r\n\"C:\\SAVES\\SONG2.SPC\"\r\n");

    for (const Entries& entries :
         {Entries{"C:\\MY,FILES\\A.SPC", "  /lead", "/tab\t", "caf\xe9.spc", "/line\nend", "a\0b"s,
                  "", std::string(1 << 20, 'x')},
          Entries(100000, "/music/song.spc"), Entries{}}) {
        ASSERT_TRUE(writePlaylist(file.string(), entries));
        EXPECT_EQ(readPlaylist(file.string()), entries);
    }
    EXPECT_EQ(fs::file_size(file), 0u) << "an empty list is an empty file";
    EXPECT_EQ(dir.files(), 1u) << "no temporary file is left";
}

TEST(Playlist, FoldersMissingFilesPipesAndHugeFilesReadAsNothing) {
    Folder dir;
    ASSERT_EQ(::mkfifo((dir.path / "pipe.spl").c_str(), 0600), 0);
    std::ofstream(dir.path / "huge.spl") << "\"/a.spc\"\r\n";
    fs::resize_file(dir.path / "huge.spl", std::uintmax_t{1} << 30);  // sparse: no disk used
    for (const char* name : {"", "missing.spl", "pipe.spl", "huge.spl"}) {
        EXPECT_EQ(readPlaylist((dir.path / name).string()), std::nullopt) << name;
    }
}

TEST(Playlist, AFailedSaveLeavesTheOldFileAsItWas) {
    Folder dir;
    const fs::path file = dir.path / "old.spl";
    std::ofstream(file) << "\"/old.spc\"\r\n";
    ::chmod(file.c_str(), 0640);

    // The disk fills up half way (a file size limit; its signal would end the tests).
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{4096, limit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool written = writePlaylist(file.string(), Entries(2000, "/music/song.spc"));
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(written);
    EXPECT_EQ(bytesOf(file), "\"/old.spc\"\r\n");
    EXPECT_EQ(dir.files(), 1u) << "the half-written file is gone";

    fs::create_directory(dir.path / "folder.spl");
    EXPECT_FALSE(writePlaylist((dir.path / "folder.spl").string(), {"a"}));
    EXPECT_TRUE(fs::is_directory(dir.path / "folder.spl"));

    ASSERT_TRUE(writePlaylist(file.string(), {"/new.spc"}));
    EXPECT_EQ(bytesOf(file), "\"/new.spc\"\r\n");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace velmor::music
