#include "platform/linux/WinePrefixPaths.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <string>

#include "support/Files.h"

namespace velmor::platform {
namespace {

namespace fs = std::filesystem;

// A prefix as Wine makes it: c: a relative link to drive_c, z: the root; and a D: written in
// capitals leading out of the prefix.
class WinePrefix : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        const fs::path prefix = root() / "prefix";
        test::writeFile(prefix / "drive_c/Games/ZSNES/zsnesw.exe", "MZ");
        test::writeFile(prefix / "drive_c/Pictures/Caf\u00e9 \u65e5\u672c/Mario.PNG", "png");
        fs::create_directories(prefix / "drive_c/roms");
        fs::create_directories(prefix / "drive_c/ROMS");
        test::writeFile(root() / "media/cd/Game.smc", "rom");
        fs::create_directories(prefix / "dosdevices");
        fs::create_symlink("../drive_c", prefix / "dosdevices/c:");
        fs::create_symlink(root() / "media", prefix / "dosdevices/D:");
        fs::create_symlink("/", prefix / "dosdevices/z:");
        fs::create_symlink(root() / "nowhere", prefix / "dosdevices/y:");
    }
    fs::path root() const { return fs::canonical(dir.path().toStdString()); }

    QTemporaryDir dir;
};

TEST_F(WinePrefix, DrivesAndNamesMatchWithoutRegardToCase) {
    WinePrefixPaths paths(root() / "prefix");
    const std::string c = (root() / "prefix/drive_c").string();
    const struct {
        const char* windows;
        std::string linux;
    } cases[] = {
        {"C:\\Games\\ZSNES\\zsnesw.exe", c + "/Games/ZSNES/zsnesw.exe"},
        {"c:\\GAMES\\zsnes\\ZSNESW.EXE", c + "/Games/ZSNES/zsnesw.exe"},
        {"C:/games/./Zsnes/../zsnes//zsnesw.exe", c + "/Games/ZSNES/zsnesw.exe"},
        {"C:\\PICTURES\\CAF\u00c9 \u65e5\u672c\\mario.png",
         c + "/Pictures/Caf\u00e9 \u65e5\u672c/Mario.PNG"},
        // The name as written first, where two differ only in case.
        {"C:\\roms\\", c + "/roms/"},
        {"C:\\ROMS", c + "/ROMS"},
        // Folders not made yet keep the rest of the path as written.
        {"C:\\games\\New Folder\\Sub\\a.SMC", c + "/Games/New Folder/Sub/a.SMC"},
        {"C:\\Games\\ZSNES\\ZSNESW.EXE\\x", c + "/Games/ZSNES/zsnesw.exe/x"},
        {"C:\\", c},
        {"d:\\CD\\game.smc", (root() / "media/cd/Game.smc").string()},
        {"Z:\\tmp", "/tmp"},
        {"\\\\?\\C:\\Games", c + "/Games"},
    };
    for (const auto& each : cases) {
        EXPECT_EQ(paths.localPath(each.windows), std::optional(each.linux)) << each.windows;
    }
}

TEST_F(WinePrefix, PathsWithoutADriveHereAreNotTurned) {
    WinePrefixPaths paths(root() / "prefix");
    for (const char* windows :
         {"E:\\Games\\zsnesw.exe", "Y:\\x", "\\\\server\\share\\roms", "roms\\game.smc",
          "\\roms\\game.smc", "C:relative.smc", "C:", "", "/home/someone/game.smc", "1:\\x"}) {
        EXPECT_EQ(paths.localPath(windows), std::nullopt) << windows;
    }
    WinePrefixPaths nowhere(root() / "no prefix");
    EXPECT_EQ(nowhere.localPath("C:\\Games"), std::nullopt);
}

}  // namespace
}  // namespace velmor::platform
