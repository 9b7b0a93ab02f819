#include "music/Playlist.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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

void put(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

std::size_t filesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

struct Folder {
    QTemporaryDir made;
    const fs::path path{made.path().toStdString()};
};

TEST(Playlist, ReaderRules) {
    const struct {
        const char* what;
        std::string bytes;
        Entries expected;
    } cases[] = {
        {"quoted fields on one line",
         "\"C:\\MY,FILES\\A.SPC\",\"b c\" , \"d\"\r\n",
         {"C:\\MY,FILES\\A.SPC", "b c", "d"}},
        {"unquoted fields lose trailing blanks",
         "a.spc ,b.spc\t\r\nc d.spc",
         {"a.spc", "b.spc", "c d.spc"}},
        {"blanks and tabs before a field", " \t\"  x\"\r\n\t y", {"  x", "y"}},
        {"LF alone and CR alone end lines", "\"a\"\n\"b\"\rc\rd\n", {"a", "b", "c", "d"}},
        {"empty lines and fields name nothing", "\r\n\r\n\"a\",,\"b\",\r\n  \r\n,", {"a", "b"}},
        {"an empty quoted field is an entry", "\"\"\r\n\"a\"", {"", "a"}},
        {"text after a closing quote is dropped", "\"a\"x y,\"b\"z\r\nc", {"a", "b", "c"}},
        {"a quoted field spans line ends", "\"a\r\nb\"\r\n", {"a\r\nb"}},
        {"an unterminated quote holds its line",
         "\"a\"\r\n\"b\\c\r\nd,e\r\n",
         {"a", "b\\c", "d", "e"}},
        {"NUL and non-UTF-8 bytes are kept",
         "\"a\0b\"\r\nc\0d,\"caf\xe9\"\r\n"s,
         {"a\0b"s, "c\0d"s, "caf\xe9"}},
        {"a byte order mark is skipped", "\xEF\xBB\xBF\"a\"\r\n", {"a"}},
        {"nothing at all", "", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parsePlaylist(c.bytes), c.expected) << c.what;
    }
}

TEST(Playlist, LargeFilesReadInOnePass) {
    std::string many;
    for (int i = 0; i < 100000; ++i) {
        many += "\"/music/song " + std::to_string(i) + ".spc\"\r\n";
    }
    const Entries entries = parsePlaylist(many);
    ASSERT_EQ(entries.size(), 100000u);
    EXPECT_EQ(entries.back(), "/music/song 99999.spc");

    // A megabyte line, and an unclosed quote before a hundred thousand plain lines.
    const std::string line(1 << 20, 'x');
    EXPECT_EQ(parsePlaylist("\"" + line + "\"\r\n" + line), (Entries{line, line}));
    std::string unclosed = "\"open\r\n";
    for (int i = 0; i < 100000; ++i) {
        unclosed += "s" + std::to_string(i) + "\n";
    }
    EXPECT_EQ(parsePlaylist(unclosed).size(), 100001u);
}

TEST(Playlist, WrittenFilesReadBackByteForByte) {
    Folder dir;
    const fs::path file = dir.path / "list.spl";
    ASSERT_TRUE(writePlaylist(file.string(), {"C:\\SAVES\\SONG1.SPC", "C:\\SAVES\\SONG2.SPC   "}));
    EXPECT_EQ(bytesOf(file), "\"C:\\SAVES\\SONG1.SPC\"\r\n\"C:\\SAVES\\SONG2.SPC\"\r\n");

    const Entries entries{"C:\\MY,FILES\\A.SPC",
                          "  /lead/blanks",
                          "/tab\there",
                          "caf\xe9.spc",
                          "/line\nbreak",
                          "a\0b"s,
                          ""};
    ASSERT_TRUE(writePlaylist(file.string(), entries));
    EXPECT_EQ(readPlaylist(file.string()), entries);

    ASSERT_TRUE(writePlaylist(file.string(), {}));
    EXPECT_EQ(fs::file_size(file), 0u);
    EXPECT_EQ(readPlaylist(file.string()), Entries{});
    EXPECT_EQ(filesIn(dir.path), 1u) << "no temporary file is left";
}

TEST(Playlist, WhatCannotBeReadGivesNothing) {
    Folder dir;
    ASSERT_EQ(::mkfifo((dir.path / "pipe.spl").c_str(), 0600), 0);
    for (const char* name : {"", "missing.spl", "pipe.spl"}) {
        EXPECT_EQ(readPlaylist((dir.path / name).string()), std::nullopt) << name;
    }
    EXPECT_EQ(readPlaylist(""), std::nullopt);
}

TEST(Playlist, SavingKeepsTheOldFileUntilTheNewOneIsWhole) {
    Folder dir;
    const fs::path file = dir.path / "old.spl";
    put(file, "\"/old.spc\"\r\n");
    ::chmod(file.c_str(), 0640);
    const Entries big(20000, "/music/a long name for a song.spc");

    // A write that fails half way (the file size limit), with the signal that would end the
    // program ignored as the system's default handler would not.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{4096, limit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool written = writePlaylist(file.string(), big);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(bytesOf(file), "\"/old.spc\"\r\n");
    EXPECT_EQ(filesIn(dir.path), 1u) << "the half-written file is gone";

    // Targets that are no file, or in no folder.
    fs::create_directory(dir.path / "folder.spl");
    EXPECT_FALSE(writePlaylist((dir.path / "folder.spl").string(), {"a"}));
    EXPECT_TRUE(fs::is_directory(dir.path / "folder.spl"));
    EXPECT_FALSE(writePlaylist((dir.path / "no/such.spl").string(), {"a"}));
    if (::geteuid() != 0) {  // root may write anything
        ::chmod(file.c_str(), 0440);
        EXPECT_FALSE(writePlaylist(file.string(), {"a"})) << "a read-only file stays as it is";
        ::chmod(file.c_str(), 0640);
    }

    // A save through a link replaces the file it points to, which keeps its permissions.
    fs::create_symlink(file, dir.path / "link.spl");
    ASSERT_TRUE(writePlaylist((dir.path / "link.spl").string(), {"/new.spc"}));
    EXPECT_TRUE(fs::is_symlink(dir.path / "link.spl"));
    EXPECT_EQ(bytesOf(file), "\"/new.spc\"\r\n");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(filesIn(dir.path), 3u);
}

}  // namespace
}  // namespace velmor::music
