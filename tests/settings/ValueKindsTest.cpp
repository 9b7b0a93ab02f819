#include "settings/ValueKinds.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/Catalogue.h"
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

class ValueKinds : public testing::Test {
  protected:
    void apply(std::string_view name, std::string_view text) { applyText(row(name), text, h); }
    std::string written(std::string_view name) { return writtenText(row(name), h); }
    test::FakeHolders h;
};

TEST_F(ValueKinds, TextIsWrittenWithoutTrailingBlanksAndReadAsStored) {
    h.texts["GmLabel"] = "  Super Game.smc   ";
    EXPECT_EQ(written("Last Game"), "  Super Game.smc");
    h.texts["GmLabel"] = "   ";
    EXPECT_EQ(written("Last Game"), "");
    apply("ZSNES Location", " /opt/zsnes/zsnes  ");
    EXPECT_EQ(h.texts["ZSNES Location"], " /opt/zsnes/zsnes  ");
    const std::string notUtf8("\xff\xfe\x80 game", 8);
    apply("Last Game", notUtf8);
    EXPECT_EQ(h.texts["GmLabel"], notUtf8);
}

TEST_F(ValueKinds, OneStateBoxesAreTickedOnlyByExactlyOne) {
    for (const char* text : {"01", "true", "2", "1 ", " 1", "True", "-1", "x"}) {
        h.boxes["Check1"] = 1;
        apply("Sound Enabled", text);
        EXPECT_EQ(h.boxes["Check1"], 0) << text;
    }
    apply("Sound Enabled", "1");
    EXPECT_EQ(h.boxes["Check1"], 1);
    EXPECT_EQ(written("Sound Enabled"), "1");
    h.boxes["Check1"] = 2;  // a grayed box still saves as set
    EXPECT_EQ(written("Sound Enabled"), "1");
    h.boxes["Check1"] = 0;
    EXPECT_EQ(written("Sound Enabled"), "0");
}

TEST_F(ValueKinds, ThreeStateBoxesTakeTheNumericValue) {
    apply("Disable GUI", "01");
    EXPECT_EQ(h.boxes["Check4"], 1);
    apply("Disable GUI", "2");
    EXPECT_EQ(h.boxes["Check4"], 2);
    EXPECT_EQ(written("Disable GUI"), "2");
    apply("Disable GUI", "0.5");  // half to even
    EXPECT_EQ(h.boxes["Check4"], 0);
    apply("Disable GUI", "1.5");
    EXPECT_EQ(h.boxes["Check4"], 2);
    apply("Disable GUI", "abc");
    EXPECT_EQ(h.boxes["Check4"], 0);
}

TEST_F(ValueKinds, OutOfRangeBoxStatesAndIndexesLeaveTheHolderAlone) {
    const std::string thirtyDigits(30, '9');
    const std::string fourHundredDigits(400, '9');
    h.boxes["Check6"] = 1;
    for (const std::string& text : {std::string("3"), std::string("-1"), std::string("65537"),
                                    std::string("2.6"), thirtyDigits, fourHundredDigits}) {
        apply("Debugger", text);
        EXPECT_EQ(h.boxes["Check6"], 1) << text;
    }
    h.lists["P1input"] = 3;
    for (const std::string& text : {std::string("7"), std::string("-2"), std::string("32768"),
                                    std::string("6.5") /* to even: 6 */, thirtyDigits,
                                    fourHundredDigits, "-" + fourHundredDigits}) {
        apply("Player 1 Input", text);
        EXPECT_EQ(h.lists["P1input"], text == "6.5" ? 6 : 3) << text;
        h.lists["P1input"] = 3;
    }
    apply("Player 1 Input", "1e400");  // the number ends at the letter
    EXPECT_EQ(h.lists["P1input"], 1);
    apply("Player 1 Input", "-");  // no number at all reads as 0
    EXPECT_EQ(h.lists["P1input"], 0);
    apply("Player 1 Input", "&HFFFF");
    EXPECT_EQ(h.lists["P1input"], 0);
    apply("Player 1 Input", "-1");  // a typed entry: no selection
    EXPECT_EQ(h.lists["P1input"], -1);
    EXPECT_EQ(written("Player 1 Input"), "-1");
}

TEST_F(ValueKinds, SoundRateAcceptsOnlyTheFourPlainDigits) {
    h.lists["Combo1"] = 2;
    for (const char* text : {"4", "-1", "01", "1.0", " 1", "3x", "three"}) {
        apply("Sound Rate", text);
        EXPECT_EQ(h.lists["Combo1"], 2) << text;
    }
    apply("Sound Rate", "3");
    EXPECT_EQ(h.lists["Combo1"], 3);
    apply("Sound Rate", "0");
    EXPECT_EQ(h.lists["Combo1"], 0);
    EXPECT_EQ(written("Sound Rate"), "0");
}

TEST_F(ValueKinds, SlidersAreHeldInsideTheirRange) {
    apply("CPU Cycles", "120");
    EXPECT_EQ(h.sliders["Slider1"], 120);
    apply("CPU Cycles", "10");
    EXPECT_EQ(h.sliders["Slider1"], 50);
    apply("CPU Cycles", "99999999999999999999");
    EXPECT_EQ(h.sliders["Slider1"], 150);
    apply("CPU Cycles", "-" + std::string(400, '9'));
    EXPECT_EQ(h.sliders["Slider1"], 50);
    apply("Gamma Correction", "2.5");
    EXPECT_EQ(h.sliders["Slider2"], 2);
    apply("Frame Skip", "abc");
    EXPECT_EQ(h.sliders["Slider3"], 0);
    h.sliders["Slider3"] = 7;
    EXPECT_EQ(written("Frame Skip"), "7");
}

TEST_F(ValueKinds, ChoicesCompareTheStoredTextsExactly) {
    apply("Video Mode", "Normal");  // the caption, not the stored text
    EXPECT_FALSE(h.options["Option5"] || h.options["Option6"]);
    apply("Resolution", "640X480");
    EXPECT_FALSE(h.options["Option11"]);
    apply("Resolution", "640x480");
    EXPECT_TRUE(h.options["Option11"]);
    EXPECT_EQ(written("Resolution"), "640x480");
    EXPECT_EQ(written("Video Mode"), "none");
    apply("Video Mode", "normal");
    EXPECT_EQ(written("Video Mode"), "normal");
}

TEST_F(ValueKinds, AChoiceMatchingNothingClearsOnlyTheFirstOptionOfTheTwoButtonGroups) {
    h.options["Option3"] = true;
    apply("# of Colors", "65536");
    EXPECT_FALSE(h.options["Option3"]);
    h.options["Option4"] = true;
    apply("# of Colors", "none");
    EXPECT_TRUE(h.options["Option4"]);
    h.options["Option6"] = true;
    apply("Video Mode", "VESA 2");
    EXPECT_TRUE(h.options["Option6"]);
    h.options["Option8"] = true;
    h.changes.clear();
    apply("Resolution", "none");
    EXPECT_TRUE(h.changes.empty());
}

TEST_F(ValueKinds, AChoiceIsWrittenFromTheFirstSelectedOption) {
    h.options["Option3"] = true;
    h.options["Option4"] = true;  // cannot happen in a window, but the order must hold
    EXPECT_EQ(written("# of Colors"), "256");
}

TEST_F(ValueKinds, FlagsAreTrueUnlessExactlyFalse) {
    for (const char* text : {"false", "FALSE", "0", "no", " False", "False "}) {
        h.flags["CloseSPC"] = false;
        apply("CloseSPC", text);
        EXPECT_TRUE(h.flags["CloseSPC"]) << text;
    }
    apply("CloseSPC", "False");
    EXPECT_FALSE(h.flags["CloseSPC"]);
    EXPECT_EQ(written("CloseSPC"), "False");
    h.flags["AutoTab"] = true;
    EXPECT_EQ(written("AutoTab"), "True");
}

TEST_F(ValueKinds, TimerTextsAreNormalisedWhenReadAndStoredAsTyped) {
    apply("SPC Timer Seconds", "045");
    EXPECT_EQ(h.texts["Text2"], "45");
    apply("SPC Timer Seconds", "abc");
    EXPECT_EQ(h.texts["Text2"], "0");
    apply("SPC Timer Minutes", " 2 5 min");
    EXPECT_EQ(h.texts["Text1"], "25");
    apply("SPC Timer Minutes", std::string(400, '9'));
    EXPECT_EQ(h.texts["Text1"], "0");
    h.texts["Text2"] = "0045 ";
    EXPECT_EQ(written("SPC Timer Seconds"), "0045 ");
}

}  // namespace
}  // namespace velmor::settings
