#include "settings/ImportSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "settings/Catalogue.h"
#include "support/FakeRegistry.h"

namespace velmor::settings {
namespace {

// A system with a C: drive only, at /c.
class DriveC final : public platform::WindowsPaths {
  public:
    std::optional<std::string> localPath(std::string_view windowsPath) override {
        asked.emplace_back(windowsPath);
        if (!windowsPath.starts_with("C:\\")) {
            return std::nullopt;
        }
        std::string local = "/c/" + std::string(windowsPath.substr(3));
        std::replace(local.begin(), local.end(), '\\', '/');
        return local;
    }
    std::vector<std::string> asked;
};

ExportedValue text(std::string key, std::string name, std::string data) {
    return {std::move(key), std::move(name), ExportedType::Text, std::move(data), 1};
}

const std::string kMachine = "HKEY_LOCAL_MACHINE\\";

TEST(ImportSettings, TakesVelmorsTextsAndTurnsThePathsAmongThem) {
    RegistryExport file;
    file.deletions = 2;
    file.values = {
        text(kMachine + "SOFTWARE\\VELMOR\\paths", "zsnes location", "C:\\ZSNES\\zsnesw.exe"),
        text(kMachine + "Software\\Velmor\\Paths", "Rom Location", "\\\\server\\roms"),
        text(kMachine + "Software\\Velmor\\Paths", "Save Location", ""),
        text(kMachine + "Software\\Velmor", "Last Game", "C:\\not\\a\\path.smc"),
        text(kMachine + "Software\\Wow6432Node\\Velmor\\Video", "VSync", "1"),
        text(kMachine + "Software\\Velmor\\Picture Links", "Mario \u65e5\u672c.SMC",
             "C:\\Pics\\mario.png"),
        text(kMachine + "Software\\Velmor\\Picture Links", "Zelda.smc", "E:\\zelda.bmp"),
        text(kMachine + "Software\\Velmor\\Picture Links", "Empty.smc", ""),
        // Not Velmor's settings.
        text(kMachine + "Software\\Velmor\\Sound", "Volume", "5"),
        text(kMachine + "Software\\Velmor\\Sound\\Deeper", "Sound Rate", "1"),
        text(kMachine + "Software\\Velmorx\\Paths", "ZSNES Location", "C:\\x"),
        text("HKEY_CURRENT_USER\\Software\\Velmor\\Paths", "ZSNES Location", "C:\\x"),
        text(kMachine + "Software\\Other", "VSync", "1"),
    };
    file.values.push_back(text(kMachine + "Software\\Velmor\\Sound", "Sound Rate", "x"));
    file.values.back().type = ExportedType::Other;

    test::FakeRegistry registry;
    DriveC paths;
    const auto summary = importSettings(file, registry, paths);
    ASSERT_TRUE(summary);

    const std::map<std::pair<std::string_view, std::string>, std::optional<std::string>> stored{
        {{kPathsKey, "ZSNES Location"}, "/c/ZSNES/zsnesw.exe"},
        {{kPathsKey, "Rom Location"}, "\\\\server\\roms"},
        {{kPathsKey, "Save Location"}, ""},
        {{kRootKey, "Last Game"}, "C:\\not\\a\\path.smc"},
        {{kVideoKey, "VSync"}, "1"},
        {{kPictureLinksKey, "mario \u65e5\u672c.smc"}, "/c/Pics/mario.png"},
        {{kPictureLinksKey, "Zelda.smc"}, "E:\\zelda.bmp"},
        {{kPictureLinksKey, "Empty.smc"}, ""},
        {{kSoundKey, "Sound Rate"}, std::nullopt},
        {{kSoundKey, "Volume"}, std::nullopt},
    };
    for (const auto& [where, data] : stored) {
        EXPECT_EQ(registry.text(where.first, where.second), data) << where.second;
    }
    EXPECT_EQ(registry.valueCount(), 8U);
    EXPECT_EQ(registry.batches, 1);
    // A setting is stored under the catalogue's name, a link under its game's.
    std::vector<std::string> names;
    for (const auto& write : registry.writes) {
        names.push_back(write.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"ZSNES Location", "Rom Location", "Save Location",
                                               "Last Game", "VSync", "Mario \u65e5\u672c.SMC",
                                               "Zelda.smc", "Empty.smc"}));

    EXPECT_EQ(summary->settings, 5U);
    EXPECT_EQ(summary->pictureLinks, 3U);
    EXPECT_EQ(summary->pathsTurned, 2U);
    EXPECT_EQ(summary->pathsKept,
              (std::vector<std::string>{"Rom Location: \\\\server\\roms",
                                        "picture of Zelda.smc: E:\\zelda.bmp"}));
    EXPECT_EQ(summary->otherValues, 5U);
    EXPECT_EQ(summary->otherTypes, 1U);
    EXPECT_EQ(summary->deletions, 2U);
    EXPECT_EQ(paths.asked.size(), 4U);  // neither empty texts nor other settings
}

TEST(ImportSettings, FailsWhenTheStoreDoesNotTakeEverything) {
    RegistryExport file;
    file.values = {text(kMachine + "Software\\Velmor\\Video", "VSync", "1"),
                   text(kMachine + "Software\\Velmor\\Picture Links", "A.smc", "C:\\a.png")};
    DriveC paths;
    test::FakeRegistry refusing;
    refusing.failBatch = true;
    EXPECT_FALSE(importSettings(file, refusing, paths));

    test::FakeRegistry noLinksKey;
    noLinksKey.failKey = kMachine + "Software\\Velmor\\Picture Links";
    EXPECT_FALSE(importSettings(file, noLinksKey, paths));
}

}  // namespace
}  // namespace velmor::settings
