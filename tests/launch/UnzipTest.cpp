#include "launch/Unzip.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>

#include "launch/ExtractedRomPath.h"
#include "support/Files.h"

namespace velmor::launch {
namespace {

namespace fs = std::filesystem;

using test::noise;
using test::readFile;
using test::writeFile;

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

// A private folder per test: the archive, the extraction folder "out", and a file outside it
// that no archive may reach.
class Sandbox {
  public:
    Sandbox() {
        fs::create_directories(out);
        writeFile(root / "outside" / "victim", "victim");
    }

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

    // Extracts the archive into "out", replacing files unless `set` changes the options; the
    // report. What it did is kept in `outcome`.
    std::string extract(const std::function<void(UnzipOptions&)>& set = {},
                        const std::function<int(std::string_view)>& replace = {}) {
        UnzipOptions options;
        options.overwrite = true;
        if (set) {
            set(options);
        }
        std::string report;
        outcome = unzipArchive(archive.string(), out.string(), options,
                               {[&](std::string_view text) { report += text; }, replace});
        return report;
    }

    test::TempFolder temp;
    fs::path root = temp.path;
    fs::path out = root / "out";
    fs::path archive = root / "game.zip";
    UnzipOutcome outcome;
};

// The report lines Info-ZIP's unzip prints for the same archive, and the files it writes,
// are what ours gives: same action field per member, same paths.
TEST(UnzipArchive, ReportsAndWritesWhatInfoZipDoes) {
    Sandbox box;
    fs::create_directories(box.root / "src" / "roms" / "japan");
    writeFile(box.root / "src" / "roms" / "noise.smc", noise(512, 1));
    writeFile(box.root / "src" / "roms" / "japan" / "game.sfc", noise(9000, 2) + noise(9000, 2));
    writeFile(box.root / "src" / "top.smc", std::string(5000, 'r'));
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
            const std::string ours =
                box.extract([&](UnzipOptions& o) { o.keepDirectories = keep; });

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
    const std::string path = extractedRomPath(box.extract());
    EXPECT_EQ(path, (box.out / "Super Game (E) [!].smc").string());
    EXPECT_EQ(readFile(path), "rom");

    EXPECT_EQ(extractedRomPath(""), "");
    EXPECT_EQ(extractedRomPath(std::string(16, 'x')), "");
    EXPECT_EQ(extractedRomPath(std::string(13, ' ') + "a\r\n\n"), "a");
}

// Archives made to harm: nothing outside "out" changes, no link is followed, no temporary
// file stays, and the report says what happened.
TEST(UnzipArchive, HostileArchivesStayInsideTheFolder) {
    using Files = std::map<std::string, std::string>;
    const auto py = [](const std::string& body) {
        return [body](Sandbox& box) { box.python(body); };
    };
    // An archive by Info-ZIP's zip, then changed by `mangle`.
    const auto zipTool = [](const std::string& options, void (*mangle)(std::string&)) {
        return [=](Sandbox& box) {
            writeFile(box.root / "game.smc", noise(4000, 7));
            run("cd " + box.root.string() + " && zip -q " + options + " game.zip game.smc");
            fs::remove(box.root / "game.smc");
            std::string bytes = readFile(box.archive);
            mangle(bytes);
            writeFile(box.archive, bytes);
        };
    };
    const auto plant = [](const char* body, const char* link, const char* target) {
        return [=](Sandbox& box) {
            box.python(body);
            fs::create_symlink(target, box.out / link);
        };
    };
    // libzip itself does not hold a member to its stored size.
    const std::string lyingSize =
        "z.writestr('big.smc', 'x' * 5000); z.close()\n"
        "import struct; b = bytearray(open(sys.argv[1], 'rb').read())\n"
        "b[22:26] = struct.pack('<I', 50); c = b.find(b'PK\\1\\2')\n"
        "b[c + 24:c + 28] = struct.pack('<I', 50); open(sys.argv[1], 'wb').write(b)";
    // Names without the UTF-8 mark are read as code page 437, whatever their bytes.
    const std::string notUtf8 =
        "z.writestr('@@.smc', 'a'); z.close(); b = open(sys.argv[1], 'rb').read()\n"
        "open(sys.argv[1], 'wb').write(b.replace(b'@@', b'\\xff\\n'))";
    const struct {
        std::function<void(Sandbox&)> prepare;
        bool keep;
        Files out;
        std::string_view reported;
        std::uint64_t cap = kUnzipMemberCap;
    } cases[] = {
        {py("z.writestr('../../evil.smc', 'x')"), false, {{"evil.smc", "x"}}, "inflating"},
        {py("z.writestr('a/../../evil.smc', 'x')"), true, {}, "leads out of the folder"},
        {py("z.writestr('/tmp/e.smc', 'x')"), true, {{"tmp", "<dir>"}, {"tmp/e.smc", "x"}}, "e"},
        {py("z.writestr('..\\\\..\\\\evil.smc', 'x')"), false, {{"evil.smc", "x"}}, "evil"},
        {py("z.writestr('..', 'x'); z.writestr('a/.', 'y')"), false, {}, "no usable file name"},
        {py("link('game.smc', '../outside/victim')"), false, {}, "symbolic link"},
        {py("z.writestr('dir/', '')"), false, {}, ""},
        {zipTool("-P secret", [](std::string&) {}), false, {}, "encrypted"},
        {zipTool("-0", [](std::string& b) { b[b.size() / 4] ^= 0x55; }), false, {}, "damaged"},
        {zipTool("", [](std::string& b) { b.resize(b.size() * 2 / 3); }), false, {}, "error"},
        {py("z.writestr('big.smc', 'x' * 5000)"), false, {}, "larger than 1000 bytes", 1000},
        {py(lyingSize), false, {}, "larger than 1000 bytes", 1000},
        {py("z.writestr('d', '1'); z.writestr('d', '2')"), false, {{"d", "2"}}, "d  \n  infl"},
        {py(notUtf8), false, {{"\u00a0\u25d9.smc", "a"}}, "\u25d9.smc"},
        {py(""), false, {}, "is empty"},
        {[](Sandbox& box) { writeFile(box.archive, "MZ"); }, false, {}, "not a zip file"},
        {[](Sandbox&) {}, false, {}, "cannot open"},
        {plant("z.writestr('g', 'rom')", "g", "../outside/victim"), false, {{"g", "rom"}}, "g"},
        {plant("z.writestr('s/x', 'rom')", "s", "../outside"),
         true,
         {{"s", "-> ../outside"}},
         "folder cannot be made"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(testing::Message() << "case " << i);
        Sandbox box;
        c.prepare(box);
        const auto outside = snapshot(box.root, "out");
        const std::string report = box.extract([&](UnzipOptions& o) {
            o.keepDirectories = c.keep;
            o.memberCap = c.cap;
        });
        EXPECT_EQ(snapshot(box.out), c.out) << report;
        EXPECT_EQ(snapshot(box.root, "out"), outside);
        EXPECT_NE(report.find(c.reported), std::string::npos) << report;
        if (c.out.empty()) {
            EXPECT_EQ(report.find("inflating"), std::string::npos) << report;
        }
    }
}

// A hostile archive cannot fill the disk: the whole extraction has a cap (each file counting at
// least a block), and no write takes the folder's file system below what it keeps free.
TEST(UnzipArchive, TheWholeExtractionIsBoundedAndLeavesRoomOnTheDisk) {
    {
        Sandbox box;
        box.python("for n in 'abcd': z.writestr(n + '.smc', n * 5000)");
        const std::string report = box.extract([](UnzipOptions& o) { o.totalCap = 12000; });
        EXPECT_EQ(snapshot(box.out),
                  (std::map<std::string, std::string>{{"a.smc", std::string(5000, 'a')},
                                                      {"b.smc", std::string(5000, 'b')}}));
        EXPECT_EQ(box.outcome.written, 2);
        EXPECT_EQ(box.outcome.refusal, UnzipRefusal::OverTotal);
        EXPECT_EQ(box.outcome.refusedMember, "c.smc");
        EXPECT_NE(report.find("   skipping: d.smc  (the members together would exceed 12000"),
                  std::string::npos)
            << report;
    }
    {
        Sandbox box;  // many empty members: each costs a block
        box.python("for n in range(10): z.writestr('%d.smc' % n, '')");
        box.extract([](UnzipOptions& o) { o.totalCap = 5 * kUnzipFileCost; });
        EXPECT_EQ(box.outcome.written, 5);
    }
    {
        Sandbox box;  // a file system that keeps more free than it has: nothing is written
        box.python("z.writestr('a.smc', 'a' * 5000); z.writestr('b.smc', 'b')");
        const std::string report =
            box.extract([](UnzipOptions& o) { o.keepFree = std::uint64_t{1} << 62; });
        EXPECT_EQ(snapshot(box.out), (std::map<std::string, std::string>{}));
        EXPECT_EQ(box.outcome.written, 0);
        EXPECT_EQ(box.outcome.refusal, UnzipRefusal::NoSpace);
        EXPECT_EQ(box.outcome.refusedMember, "a.smc");
        EXPECT_NE(report.find("  error:  a.smc  too little free space left in the folder"),
                  std::string::npos)
            << report;
        EXPECT_NE(report.find("   skipping: b.smc  (too little free space"), std::string::npos);
    }
    {
        Sandbox box;  // told to stop: it stops, and keeps nothing it began
        box.python("z.writestr('a.smc', 'a')");
        const std::atomic<bool> stop = true;
        box.extract([&](UnzipOptions& o) { o.stop = &stop; });
        EXPECT_TRUE(box.outcome.stopped);
        EXPECT_EQ(snapshot(box.out), (std::map<std::string, std::string>{}));
    }
}

}  // namespace
}  // namespace velmor::launch
