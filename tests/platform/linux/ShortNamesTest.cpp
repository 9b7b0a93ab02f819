#include "platform/linux/LinuxShortNames.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <regex>
#include <string>

#include "platform/linux/Files.h"
#include "support/Files.h"

namespace velmor::platform {
namespace {

namespace fs = std::filesystem;

using test::readFile;
using test::TempFolder;
using test::writeFile;

// Absolute, and made only of characters that neither a blank split nor the shell reads, with no
// name that begins with '~' or ':'.
bool onlySafeCharacters(const std::string& path) {
    return std::regex_match(path, std::regex("(/[-A-Za-z0-9._+,=@%][-A-Za-z0-9._+,=@%~:]*)+"));
}

class ShortNamesTest : public testing::Test {
  protected:
    TempFolder temp;
    fs::path base = temp.path;
    fs::path root = base / "run" / "velmor";
    void SetUp() override { fs::create_directories(base / "run"); }
};

// Each name is a file (or, ending in '/', a folder) under base/roms. The short name must name
// the same thing, be made of safe characters only and be the same for a second instance; a plain
// path comes back as it is. (The launch tests take 35 hostile names through both launches and
// the shell; these are the cases of the naming rule itself.)
TEST_F(ShortNamesTest, HostileNamesBecomeSafeStableAliasesOfTheSameFile) {
    const std::vector<std::string> names = {"Super Mario World.smc",
                                            "$(touch PWNED).smc",
                                            "~home.smc",
                                            ":colon.smc",
                                            "\xff\xfe bytes.smc",
                                            std::string(196, 'L') + ".smc",
                                            ".hidden file",
                                            "no extension",
                                            "save games/",
                                            "-rf.smc",
                                            "plain_name-1.2+x,y=z@w%.smc",
                                            "in:side~ok.zip"};
    LinuxShortNames first(root);
    LinuxShortNames second(root);
    for (const std::string& name : names) {
        SCOPED_TRACE(testing::PrintToString(name));
        const bool folder = name.back() == '/';
        const fs::path path = base / "roms" / name;
        writeFile(folder ? path / "inside" : path, name);
        const std::string alias = first.shortName(path.native());
        EXPECT_TRUE(onlySafeCharacters(alias)) << alias;
        EXPECT_EQ(second.shortName(path.native()), alias);
        EXPECT_EQ(readFile(folder ? fs::path(alias) / "inside" : fs::path(alias)), name);
        if (name.starts_with("plain") || name.starts_with("in:side") || name == "-rf.smc") {
            EXPECT_EQ(alias, path.native());
        }
    }
    EXPECT_EQ(fs::status(root / "short").permissions(), fs::perms::owner_all);
}

TEST_F(ShortNamesTest, MissingPathsAreEmptyAndStaleAliasesArePointedBack) {
    LinuxShortNames names(root);
    EXPECT_EQ(names.shortName(""), "");
    EXPECT_EQ(names.shortName((base / "no such game.smc").native()), "");

    writeFile(base / "my game.smc", "mine");
    writeFile(base / "other", "other");
    const std::string alias = names.shortName((base / "my game.smc").native());
    fs::remove(alias);
    fs::create_symlink(base / "other", alias);
    EXPECT_EQ(names.shortName((base / "my game.smc").native()), alias);
    EXPECT_EQ(readFile(alias), "mine");
}

// Another user's link or file where the alias folder belongs must not be used.
TEST_F(ShortNamesTest, AnAliasFolderThatIsALinkOrNotAFolderIsRefused) {
    writeFile(base / "my game.smc", "mine");
    const std::string path = (base / "my game.smc").native();
    fs::create_directories(base / "elsewhere");
    fs::create_directory_symlink(base / "elsewhere", root);
    EXPECT_EQ(LinuxShortNames(root).shortName(path), "");
    EXPECT_TRUE(fs::is_empty(base / "elsewhere"));

    fs::remove(root);
    writeFile(root / "short", "a file");
    EXPECT_EQ(LinuxShortNames(root).shortName(path), "");
    EXPECT_FALSE(privateFolder(root, "short"));

    fs::remove(root / "short");
    fs::create_directory_symlink(base / "elsewhere", root / "short");
    EXPECT_EQ(LinuxShortNames(root).shortName(path), "");
    EXPECT_TRUE(fs::is_empty(base / "elsewhere"));
}

TEST_F(ShortNamesTest, FileExistsOnlyForReadableRegularFiles) {
    writeFile(base / "rom.smc", "x");
    writeFile(base / "locked.smc", "x");
    fs::permissions(base / "locked.smc", fs::perms::none);
    ::mkfifo((base / "pipe.smc").c_str(), 0600);
    EXPECT_TRUE(fileExists((base / "rom.smc").native()));
    EXPECT_FALSE(fileExists(base.native()));
    EXPECT_FALSE(fileExists(""));
    EXPECT_FALSE(fileExists((base / "missing.smc").native()));
    EXPECT_FALSE(fileExists((base / "pipe.smc").native()));  // and does not hang
    if (::geteuid() != 0) {
        EXPECT_FALSE(fileExists((base / "locked.smc").native()));
    }
}

}  // namespace
}  // namespace velmor::platform
