#include "launch/Unzip.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "launch/ExtractedRomPath.h"

namespace velmor::launch {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), std::ssize(bytes));
}

// What lies below `root`: files by content, folders as "<dir>", links as "-> target".
std::map<std::string, std::string> snapshot(const fs::path& root, const std::string& skip = {}) {
    std::map<std::string, std::string> seen;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::end(it); ++it) {
        const std::string relative = it->path().lexically_relative(root).string();
        if (!skip.empty() && relative == skip) {
            it.disable_recursion_pending();
            continue;
        }
        const auto status = it->symlink_status();
        seen[relative] = fs::is_symlink(status)     ? "-> " + fs::read_symlink(it->path()).string()
                         : fs::is_directory(status) ? "<dir>"
                                                    : readFile(it->path());
    }
    return seen;
}

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    char chunk[4096];
    for (std::size_t n; pipe && (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        output.append(chunk, n);
    }
    EXPECT_TRUE(pipe && ::pclose(pipe) == 0) << command;
    return output;
}

// Data like a ROM image: blocks of noise between runs of repeated bytes.
std::string romLike(std::size_t size, unsigned seed) {
    std::string data;
    while (data.size() < size) {
        for (int i = 0; i < 512; ++i) {
            seed = seed * 1103515245 + 12345;
            data += static_cast<char>(seed >> 16);
        }
        data.append(700, static_cast<char>(seed));
    }
    data.resize(size);
    return data;
}

// A private folder per test: the archive, the extraction folder "out", and a file outside it
// that no archive may reach.
class Sandbox {
  public:
    Sandbox() {
        std::string pattern = (fs::temp_directory_path() / "velmor-unzip-test-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        out = root / "out";
        fs::create_directories(out);
        fs::create_directories(root / "outside");
        writeFile(root / "outside" / "victim", "victim");
        archive = root / "game.zip";
    }
    ~Sandbox() { fs::remove_all(root); }

    // Builds `archive` with Python's zipfile; the body adds members to `z`, and link(name,
    // target) adds a symbolic-link member.
    void python(const std::string& body) const {
        writeFile(root / "make.py",
                  "import sys, zipfile\n"
                  "z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED)\n"
                  "def link(name, target):\n"
                  "    i = zipfile.ZipInfo(name); i.create_system = 3\n"
                  "    i.external_attr = 0o120777 << 16; z.writestr(i, target)\n" +
                      body + "\nz.close()\n");
        run("python3 " + (root / "make.py").string() + " " + archive.string());
        fs::remove(root / "make.py");
    }

    // Replaces bytes of the archive by as many others, names included: offsets stay valid.
    void patch(const std::string& from, const std::string& to) const {
        std::string bytes = readFile(archive);
        for (auto at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at)) {
            bytes.replace(at, from.size(), to);
        }
        writeFile(archive, bytes);
    }

    std::string extract(bool keepDirectories, std::uint64_t cap = kUnzipMemberCap,
                        bool prompt = false, bool overwrite = true,
                        const std::function<int(std::string_view)>& replace = {},
                        const std::vector<std::string>& include = {},
                        const std::vector<std::string>& exclude = {}, bool list = false) const {
        std::string report;
        const UnzipCallbacks callbacks{[&](std::string_view text) { report += text; }, replace};
        unzipArchive(archive.string(), out.string(), prompt, overwrite, list, keepDirectories,
                     include, exclude, callbacks, cap);
        return report;
    }

    fs::path root;
    fs::path out;
    fs::path archive;
};

// The report lines Info-ZIP's unzip prints for the same archive, and the files it writes,
// are what ours gives: same action field per member, same paths.
TEST(UnzipArchive, ReportsAndWritesWhatInfoZipDoes) {
    Sandbox box;
    fs::create_directories(box.root / "src" / "roms" / "japan");
    writeFile(box.root / "src" / "roms" / "noise.smc", romLike(3000, 1).substr(0, 512));
    writeFile(box.root / "src" / "roms" / "japan" / "game.sfc", romLike(20000, 2));
    writeFile(box.root / "src" / "top.smc", romLike(5000, 3));
    const std::string into = "cd " + (box.root / "src").string() + " && ";
    const struct {
        const char* what;
        std::string make;
    } archives[] = {
        {"zip", into + "zip -q -r ../game.zip roms top.smc"},
        {"zip -0", into + "zip -q -0 -r ../game.zip roms top.smc"},
        {"zipfile",
         "python3 -c \"import zipfile as f; z = f.ZipFile('" + box.archive.string() +
             "', 'w'); z.writestr('dir/', ''); z.writestr(f.ZipInfo('dir/a.smc'), 'x' * 999, "
             "f.ZIP_DEFLATED); z.writestr('b.smc', 'stored'); z.close()\""},
    };
    for (const auto& archive : archives) {
        for (const bool keep : {false, true}) {
            SCOPED_TRACE(std::string(archive.what) + (keep ? " keeping folders" : ""));
            fs::remove_all(box.out);
            fs::remove(box.archive);
            fs::create_directories(box.out);
            run(archive.make);
            const std::string ours = box.extract(keep);

            const fs::path theirs = box.root / "theirs";
            fs::remove_all(theirs);
            std::istringstream peer(run("unzip -o " + std::string(keep ? "" : "-j ") +
                                        box.archive.string() + " -d " + theirs.string()));
            std::string expected;
            for (std::string line; std::getline(peer, line);) {
                if (line.starts_with("Archive:")) {
                    continue;
                }
                line.erase(line.find_last_not_of(' ') + 1);
                const auto at = line.find(theirs.string());
                ASSERT_NE(at, std::string::npos) << line;
                line.replace(at, theirs.string().size(), box.out.string());
                expected += line + (line.ends_with('/') ? "\n" : "  \n");
            }
            EXPECT_EQ(ours, expected);
            EXPECT_EQ(snapshot(box.out), snapshot(theirs));
        }
    }
}

TEST(ExtractedRomPath, IsTheWrittenFileOfAOneMemberArchive) {
    Sandbox box;
    box.python("z.writestr('Super Game (E) [!].smc', 'rom')");
    const std::string path = extractedRomPath(box.extract(false));
    EXPECT_EQ(path, (box.out / "Super Game (E) [!].smc").string());
    EXPECT_EQ(readFile(path), "rom");

    EXPECT_EQ(extractedRomPath(""), "");
    EXPECT_EQ(extractedRomPath(std::string(16, 'x')), "");
    EXPECT_EQ(extractedRomPath(std::string(13, ' ') + "a\r\n\n"), "a");
}

TEST(UnzipArchive, ExistingFilesAreReplacedOnlyWhenToldOrAnsweredSo) {
    const struct {
        bool prompt, overwrite;
        int answer;
        const char* first;  // content of a.smc and b.smc afterwards
        const char* second;
        int questions;
    } cases[] = {
        {false, true, kReplaceNo, "new a", "new b", 0},
        {true, true, kReplaceNo, "new a", "new b", 0},
        {false, false, kReplaceYes, "old", "old", 0},
        {true, false, kReplaceNo, "old", "old", 2},
        {true, false, kReplaceYes, "new a", "new b", 2},
        {true, false, kReplaceNone, "old", "old", 1},
        {true, false, 0, "old", "old", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.prompt << c.overwrite << " answer " << c.answer);
        Sandbox box;
        box.python("z.writestr('a.smc', 'new a'); z.writestr('b.smc', 'new b')");
        writeFile(box.out / "a.smc", "old");
        writeFile(box.out / "b.smc", "old");
        std::vector<std::string> asked;
        box.extract(false, kUnzipMemberCap, c.prompt, c.overwrite, [&](std::string_view path) {
            asked.emplace_back(path);
            return c.answer;
        });
        EXPECT_EQ(readFile(box.out / "a.smc"), c.first);
        EXPECT_EQ(readFile(box.out / "b.smc"), c.second);
        ASSERT_EQ(std::ssize(asked), c.questions);
        if (c.questions > 0) {
            EXPECT_EQ(asked[0], (box.out / "a.smc").string());
        }
        EXPECT_EQ(snapshot(box.out).size(), 2u) << "a temporary file was left behind";
    }
}

TEST(UnzipArchive, PatternsChooseMembersAndListingWritesNothing) {
    Sandbox box;
    box.python("for n in ['a.smc', 'b.smc', 'dir/c.smc', 'd.txt']: z.writestr(n, n)");
    box.extract(true, kUnzipMemberCap, false, true, {}, {"*.smc"}, {"b*"});
    EXPECT_EQ(snapshot(box.out),
              (std::map<std::string, std::string>{
                  {"a.smc", "a.smc"}, {"dir", "<dir>"}, {"dir/c.smc", "dir/c.smc"}}));

    fs::remove_all(box.out);
    fs::create_directories(box.out);
    const std::string listing =
        box.extract(false, kUnzipMemberCap, false, true, {}, {}, {"*.txt"}, true);
    EXPECT_TRUE(snapshot(box.out).empty());
    EXPECT_NE(listing.find("   dir/c.smc\n"), std::string::npos) << listing;
    EXPECT_EQ(listing.find("d.txt"), std::string::npos) << listing;
    EXPECT_NE(listing.find("3 files"), std::string::npos) << listing;
}

// Archives made to harm: nothing outside "out" changes, no link is followed, no temporary
// file stays, and the report says what happened.
TEST(UnzipArchive, HostileArchivesStayInsideTheFolder) {
    using Files = std::map<std::string, std::string>;
    const auto zipTool = [](const std::string& options) {
        return [options](Sandbox& box) {
            writeFile(box.root / "game.smc", romLike(4000, 7));
            run("cd " + box.root.string() + " && zip -q " + options + " game.zip game.smc");
            fs::remove(box.root / "game.smc");
        };
    };
    const auto py = [](const std::string& body) {
        return [body](Sandbox& box) { box.python(body); };
    };
    const struct {
        const char* what;
        std::function<void(Sandbox&)> prepare;
        bool keep;
        Files out;
        const char* reported;
        std::uint64_t cap = kUnzipMemberCap;
    } cases[] = {
        {"climbing name",
         py("z.writestr('../../evil.smc', 'x')"),
         false,
         {{"evil.smc", "x"}},
         "inflating"},
        {"climbing name, folders kept",
         py("z.writestr('a/../../evil.smc', 'x')"),
         true,
         {},
         "leads out of the folder"},
        {"absolute name",
         py("z.writestr('/tmp/evil.smc', 'x')"),
         false,
         {{"evil.smc", "x"}},
         "evil.smc"},
        {"absolute name, folders kept",
         py("z.writestr('/tmp/evil.smc', 'x')"),
         true,
         {{"tmp", "<dir>"}, {"tmp/evil.smc", "x"}},
         "tmp/evil.smc"},
        {"backslashes",
         py("z.writestr('..\\\\..\\\\evil.smc', 'x')"),
         false,
         {{"evil.smc", "x"}},
         "evil.smc"},
        {"dot-dot alone",
         py("z.writestr('..', 'x'); z.writestr('a/.', 'y')"),
         false,
         {},
         "no usable file name"},
        {"link member", py("link('game.smc', '../outside/victim')"), false, {}, "symbolic link"},
        {"folder member", py("z.writestr('dir/', '')"), false, {}, ""},
        {"encrypted member", zipTool("-P secret"), false, {}, "encrypted"},
        {"damaged member", zipTool("-0"), false, {}, "damaged"},  // bytes flipped below
        {"truncated archive", zipTool(""), false, {}, "error"},   // cut below
        {"member over the cap",
         py("z.writestr('big.smc', 'x' * 5000)"),
         false,
         {},
         "larger than 1000 bytes",
         1000},
        {"member lying about its size",  // libzip itself does not hold it to its stored size
         py("z.writestr('big.smc', 'x' * 5000); z.close()\n"
            "import struct; b = bytearray(open(sys.argv[1], 'rb').read())\n"
            "b[22:26] = struct.pack('<I', 50); c = b.find(b'PK\\1\\2')\n"
            "b[c + 24:c + 28] = struct.pack('<I', 50); open(sys.argv[1], 'wb').write(b)"),
         false,
         {},
         "larger than 1000 bytes",
         1000},
        {"two members of one name",
         py("z.writestr('d.smc', '1'); z.writestr('d.smc', '2')"),
         false,
         {{"d.smc", "2"}},
         "d.smc  \n  inflating: "},
        {"empty archive", py(""), false, {}, "is empty"},
        {"not a zip",
         [](Sandbox& box) { writeFile(box.archive, "MZ not a zip"); },
         false,
         {},
         "not a zip file"},
        {"missing archive", [](Sandbox&) {}, false, {}, "cannot open"},
        {"link planted at the name",
         [&](Sandbox& box) {
             box.python("z.writestr('game.smc', 'rom')");
             fs::create_symlink("../outside/victim", box.out / "game.smc");
         },
         false,
         {{"game.smc", "rom"}},
         "game.smc"},
        {"link planted as a folder",
         [&](Sandbox& box) {
             box.python("z.writestr('sub/x.smc', 'rom')");
             fs::create_directory_symlink("../outside", box.out / "sub");
         },
         true,
         {{"sub", "-> ../outside"}},
         "folder cannot be made"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox box;
        c.prepare(box);
        std::string bytes = readFile(box.archive);
        if (std::string_view(c.what) == "damaged member") {
            bytes[bytes.size() / 4] ^= 0x55;  // inside the stored data
            writeFile(box.archive, bytes);
        } else if (std::string_view(c.what) == "truncated archive") {
            writeFile(box.archive, bytes.substr(0, bytes.size() * 2 / 3));
        }
        const auto outside = snapshot(box.root, "out");
        const std::string report = box.extract(c.keep, c.cap);
        EXPECT_EQ(snapshot(box.out), c.out) << report;
        EXPECT_EQ(snapshot(box.root, "out"), outside);
        EXPECT_NE(report.find(c.reported), std::string::npos) << report;
        if (c.out.empty()) {
            EXPECT_EQ(report.find("inflating"), std::string::npos) << report;
        }
    }
}

TEST(UnzipArchive, NamesThatAreNotUtf8AreWrittenInsideTheFolder) {
    Sandbox box;
    box.python("z.writestr('@@@@.smc', 'a'); z.writestr('b.smc', 'b')");
    box.patch("@@", "\xff\n");
    std::string report = box.extract(false);
    std::multiset<std::string> contents;
    for (const auto& [name, content] : snapshot(box.out)) {
        EXPECT_EQ(name.find('/'), std::string::npos);
        contents.insert(content);
    }
    EXPECT_EQ(contents, (std::multiset<std::string>{"a", "b"})) << report;

    // A name that claims to be UTF-8 and is not makes libzip refuse the whole archive.
    fs::remove_all(box.out);
    fs::create_directories(box.out);
    box.python("z.writestr('\\u00e9@@.smc', 'a')");
    box.patch("@@", "\xff\n");
    report = box.extract(false);
    EXPECT_TRUE(snapshot(box.out).empty());
    EXPECT_NE(report.find("damaged"), std::string::npos) << report;
}

}  // namespace
}  // namespace velmor::launch
