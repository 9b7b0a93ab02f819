#include "music/Playlist.h"
#include "music/PlaylistParser.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#include "support/Files.h"

namespace velmor::music {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;
using namespace std::string_literals;
using test::readFile;

struct Folder : test::TempFolder {
    std::size_t files() const { return std::distance(fs::directory_iterator(path), {}); }
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
        EXPECT_EQ(parsePlaylist(c.bytes).entries.toVector(), c.expected) << c.what;
        // A file arrives in pieces: cut anywhere, even inside a byte order mark or a field, it
        // reads the same.
        PlaylistParser byByte(kMostSongs, 0);
        for (const char byte : c.bytes) {
            byByte.feed(std::string_view(&byte, 1));
        }
        EXPECT_EQ(std::move(byByte).finish().entries.toVector(), c.expected) << c.what;
    }
}

TEST(Playlist, ALongerListIsCutAtTheMostAskedFor) {
    const struct {
        const char* what;
        std::string bytes;
        Entries kept;
        bool cut;
    } cases[] = {
        {"exactly that many, then empty fields",
         "\"a\"\r\n\"b\"\r\n,\r\n  \r\n",
         {"a", "b"},
         false},
        {"one more quoted", "\"a\"\r\n\"b\"\r\n\"c\"\r\n", {"a", "b"}, true},
        {"one more plain", "a,b,c", {"a", "b"}, true},
        {"one more after an unterminated quote", "\"a\r\nb\r\nc", {"a", "b"}, true},
        {"an empty quoted field counts", "a,b,\"\"", {"a", "b"}, true},
    };
    for (const auto& c : cases) {
        const PlaylistRead read = parsePlaylist(c.bytes, 2);
        EXPECT_EQ(read.entries.toVector(), c.kept) << c.what;
        EXPECT_EQ(read.cut, c.cut) << c.what;
    }
    EXPECT_EQ(playlistCutText("/m/big.spl"),
              "The playlist /m/big.spl holds more than 1,000,000 songs; only the first 1,000,000 "
              "were loaded.");
}

TEST(Playlist, WrittenFilesReadBackTheSame) {
    Folder dir;
    const fs::path file = dir.path / "list.spl";
    ASSERT_TRUE(writePlaylist(file.string(), {"C:\\SAVES\\SONG1.SPC", "C:\\SAVES\\SONG2.SPC   "}));
    EXPECT_EQ(readFile(file), "\"C:\\SAVES\\SONG1.SPC\"\r\n\"C:\\SAVES\\SONG2.SPC\"\r\n");

    // Read in pieces, and cut short, a longer list gives its first entries.
    ASSERT_TRUE(writePlaylist(file.string(), PathList(Entries(100000, "/music/song.spc"))));
    const auto cut = readPlaylist(file.string(), 70000);
    EXPECT_TRUE(cut && cut->cut && cut->entries.size() == 70000);
    for (const Entries& entries :
         {Entries{"C:\\MY,FILES\\A.SPC", "  /lead", "/tab\t", "caf\xe9.spc", "/line\nend", "a\0b"s,
                  "", std::string(1 << 20, 'x')},
          Entries(100000, "/music/song.spc"), Entries{}}) {
        ASSERT_TRUE(writePlaylist(file.string(), PathList(entries)));
        const auto read = readPlaylist(file.string());
        ASSERT_TRUE(read);
        EXPECT_EQ(read->entries.toVector(), entries);
        EXPECT_FALSE(read->cut);
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
        EXPECT_FALSE(readPlaylist((dir.path / name).string())) << name;
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
    const bool written = writePlaylist(file.string(), PathList(Entries(2000, "/music/song.spc")));
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(written);
    EXPECT_EQ(readFile(file), "\"/old.spc\"\r\n");
    EXPECT_EQ(dir.files(), 1u) << "the half-written file is gone";

    fs::create_directory(dir.path / "folder.spl");
    EXPECT_FALSE(writePlaylist((dir.path / "folder.spl").string(), {"a"}));
    EXPECT_TRUE(fs::is_directory(dir.path / "folder.spl"));

    ASSERT_TRUE(writePlaylist(file.string(), {"/new.spc"}));
    EXPECT_EQ(readFile(file), "\"/new.spc\"\r\n");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace velmor::music
