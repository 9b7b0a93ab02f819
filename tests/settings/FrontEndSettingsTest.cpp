#include "settings/FrontEndSettings.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/FakeHolders.h"
#include "support/FakeRegistry.h"

namespace velmor::settings {
namespace {

class FrontEnd : public testing::Test {
  protected:
    void load() {
        loadSettings(store, holders, [](int) {});
    }
    test::FakeRegistry registry;
    SettingsStore store{registry};
    test::FakeHolders holders;
};

// Loading has its own order, which differs from the save order, but loads every setting once and
// opens each key once, where its first value is loaded.
TEST_F(FrontEnd, LoadingTakesEverySettingOnceOpeningEachKeyOnce) {
    load();
    std::multiset<std::string_view> loaded, catalogue;
    std::set<std::string> keys;
    for (const auto& write : registry.writes) {
        loaded.insert(write.name);
    }
    for (const auto& setting : kSettings) {
        catalogue.insert(setting.name);
        keys.insert(std::string(kHive) + std::string(setting.key));
    }
    EXPECT_EQ(loaded, catalogue);
    EXPECT_EQ(std::set<std::string>(registry.opened.begin(), registry.opened.end()), keys);
    EXPECT_EQ(registry.opened.size(), keys.size());
}

TEST_F(FrontEnd, EmptyAndMissingValuesGetTheirDefaultsBesideStoredOnes) {
    registry.put(kSoundKey, "Sound Enabled", "1");
    registry.put(kSoundKey, "Sound Buffering", "1");  // after the missing "Sound Stereo"
    registry.put(kOptionsKey, "SPC Timer Seconds", "");
    registry.put(kOptionsKey, "CloseSPC", "false");
    registry.put(kInputKey, "Player 1 Input", "4");
    load();
    EXPECT_EQ(holders.boxes["Check1"], 1);
    EXPECT_EQ(holders.boxes["Check2"], 0);
    EXPECT_EQ(holders.boxes["Check14"], 1);
    EXPECT_EQ(registry.text(kSoundKey, "Sound Stereo"), "0");
    EXPECT_EQ(holders.texts["Text2"], "30");
    EXPECT_EQ(registry.text(kOptionsKey, "SPC Timer Seconds"), "30");
    EXPECT_TRUE(holders.flags["CloseSPC"]);
    EXPECT_EQ(registry.text(kOptionsKey, "CloseSPC"), "false");  // present: not rewritten
    EXPECT_EQ(holders.lists["P1input"], 4);
}

TEST_F(FrontEnd, AKeyThatCannotBeOpenedGivesItsValuesTheirDefaultsAndLoadingGoesOn) {
    registry.put(kVideoKey, "New Gfx", "1");
    registry.put(kOptionsKey, "AutoTab", "False");
    registry.failKey = std::string(kHive) + std::string(kVideoKey);
    load();
    EXPECT_EQ(holders.boxes["Check19"], 0);
    EXPECT_FALSE(holders.flags["AutoTab"]);
    for (const auto& write : registry.writes) {
        EXPECT_NE(write.name, "New Gfx");
    }
}

TEST_F(FrontEnd, WhatIsSavedInOneBatchLoadsBackIntoAFreshWindow) {
    for (auto& [holder, text] : holders.texts) {
        text = holder + "!";  // every text holder a different text
    }
    holders.texts["Text1"] = "3";  // the timer texts hold numbers
    holders.texts["Text2"] = "15";
    holders.boxes["Check5"] = 2;
    holders.boxes["Check16"] = 1;
    holders.lists["Combo1"] = 3;
    holders.lists["Combo3"] = -1;
    holders.lists["P2input"] = 6;
    holders.sliders["Slider2"] = 4;
    holders.options["Option4"] = true;
    holders.options["Option12"] = true;
    holders.flags = {{"ScreenSaver", true}, {"AutoTab", false}, {"CloseSPC", true}};
    saveGUISettings(store, holders);
    EXPECT_EQ(registry.batches, 1) << "a save is one batch, whole or not at all";

    test::FakeHolders fresh;
    loadSettings(store, fresh, [](int) {});
    EXPECT_EQ(fresh.texts, holders.texts);
    EXPECT_EQ(fresh.boxes, holders.boxes);
    EXPECT_EQ(fresh.lists, holders.lists);
    EXPECT_EQ(fresh.sliders, holders.sliders);
    EXPECT_EQ(fresh.options, holders.options);
    EXPECT_EQ(fresh.flags, holders.flags);
}

// The stored data is the text and one NUL: reading drops the last byte, whatever it is, and a
// value of fewer than two bytes is absent.
TEST_F(FrontEnd, ReadingDropsTheLastStoredByte) {
    const KeyHandle key = store.openKey(kRootKey).value();
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"abc", "ab"},
        {std::string(1, '\0'), std::nullopt},
        {"", std::nullopt},
        {std::string("a\0b\0", 4), std::string("a\0b", 3)}};
    for (const auto& [data, text] : cases) {
        registry.setValue(key, "Value", data);
        EXPECT_EQ(store.readText(key, "vALUE"), text);
    }
}

}  // namespace
}  // namespace velmor::settings
