#include "settings/ValueKinds.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/Catalogue.h"
#include "settings/NumberRules.h"
#include "support/FakeHolders.h"

namespace velmor::settings {
namespace {

const Setting& row(std::string_view name) {
    for (const Setting& setting : kSettings) {
        if (setting.name == name) {
            return setting;
        }
    }
    throw std::out_of_range(std::string(name));
}

// Each stored text is read into a window in its start state (with the sampling rate on entry 2
// and the debugger box ticked, so that an ignored text shows), then written back.
TEST(ValueKinds, EachStoredTextReadsIntoAStateThatSavesAsExpected) {
    const std::string nines(400, '9');
    const struct {
        const char* name;
        std::string stored;
        const char* saved;
    } cases[] = {
        {"Last Game", "  Super Game.smc   ", "  Super Game.smc"},
        {"Last Game", std::string("\xff\xfe\x80 game", 8), "\xff\xfe\x80 game"},
        {"Sound Enabled", "1", "1"},
        {"Sound Enabled", "01", "0"},
        {"Disable GUI", "01", "1"},
        {"Disable GUI", "2", "2"},
        {"Disable GUI", "1.5", "2"},
        {"Debugger", "3", "1"},
        {"Debugger", "-1", "1"},
        {"Debugger", nines, "1"},
        {"Player 1 Input", "6", "6"},
        {"Player 1 Input", "7", "1"},
        {"Player 1 Input", "-2", "1"},
        {"Player 1 Input", "6.5", "6"},
        {"Player 1 Input", std::string(30, '9'), "1"},
        {"Player 1 Input", "2e400", "2"},
        {"Player 1 Input", "-", "0"},
        {"Player 1 Input", "-1", "-1"},
        {"Sound Rate", "3", "3"},
        {"Sound Rate", "0", "0"},
        {"Sound Rate", "4", "2"},
        {"Sound Rate", "01", "2"},
        {"CPU Cycles", "120", "120"},
        {"CPU Cycles", "10", "50"},
        {"CPU Cycles", nines, "150"},
        {"CPU Cycles", "-" + nines, "50"},
        {"Gamma Correction", "2.5", "2"},
        {"Frame Skip", "abc", "0"},
        {"Video Mode", "normal", "normal"},
        {"Video Mode", "Normal", "none"},
        {"Resolution", "640x480", "640x480"},
        {"CloseSPC", "False", "False"},
        {"CloseSPC", "false", "True"},
        {"CloseSPC", "False ", "True"},
        {"SPC Timer Seconds", "045", "45"},
        {"SPC Timer Seconds", "abc", "0"},
        {"SPC Timer Minutes", " 2 5 min", "25"},
        {"SPC Timer Minutes", nines, "0"},
        // The number rules the two timer texts show back: a sign, a bare point, tabs and line
        // ends skipped, "-0" and a number below any double as 0, the shortest text that reads back.
        {"SPC Timer Seconds", "\t+.50\r\n x", "0.5"},
        {"SPC Timer Seconds", "-0", "0"},
        {"SPC Timer Seconds", "0." + std::string(400, '0') + "1", "0"},
        {"SPC Timer Minutes", "-2.25x", "-2.25"},
    };
    for (const auto& c : cases) {
        test::FakeHolders holders;
        holders.lists["Combo1"] = 2;
        holders.boxes["Check6"] = 1;
        applyText(row(c.name), c.stored, holders);
        EXPECT_EQ(writtenText(row(c.name), holders), c.saved)
            << c.name << " stored as \"" << c.stored.substr(0, 20) << '"';
    }
}

// Rounding refuses what no 64-bit integer holds (a cast beyond it is undefined behaviour).
TEST(ValueKinds, RoundingRefusesWhatNoIntegerHolds) {
    EXPECT_FALSE(roundHalfEven(9223372036854775808.0));
    EXPECT_EQ(roundHalfEven(-9223372036854775808.0), INT64_MIN);
}

TEST(ValueKinds, WritingFollowsTheHoldersAsTheyStand) {
    test::FakeHolders h;
    h.boxes["Check1"] = 2;  // a grayed one-state box still saves as set
    h.texts["Text2"] = "0045 ";
    h.options["Option3"] = h.options["Option4"] = true;  // the first selected option wins
    h.flags["AutoTab"] = true;
    EXPECT_EQ(writtenText(row("Sound Enabled"), h), "1");
    EXPECT_EQ(writtenText(row("SPC Timer Seconds"), h), "0045 ");
    EXPECT_EQ(writtenText(row("# of Colors"), h), "256");
    EXPECT_EQ(writtenText(row("AutoTab"), h), "True");
    EXPECT_EQ(writtenText(row("ScreenSaver"), h), "False");
}

TEST(ValueKinds, AChoiceMatchingNothingClearsOnlyTheFirstOptionOfTheTwoButtonGroups) {
    test::FakeHolders h;
    h.options["Option3"] = h.options["Option6"] = h.options["Option8"] = true;
    applyText(row("# of Colors"), "65536", h);
    applyText(row("Video Mode"), "VESA 2", h);
    h.changes.clear();
    applyText(row("Resolution"), "none", h);
    EXPECT_FALSE(h.options["Option3"]);
    EXPECT_TRUE(h.options["Option6"]);
    EXPECT_TRUE(h.changes.empty());
}

}  // namespace
}  // namespace velmor::settings
