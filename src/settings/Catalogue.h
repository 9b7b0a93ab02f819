#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "settings/Controls.h"

namespace velmor::settings {

// How a setting is written as text and read back (see ValueKinds.h).
enum class Kind {
    Text,       // a text; written without trailing blanks
    Box1,       // check box stored as "1"/"0"; ticked only by "1"
    BoxN,       // check box stored as its state 0, 1 or 2
    Index,      // list selection, "-1" for none
    RateIndex,  // list selection read only from "0" to "3"
    Number,     // slider position
    Choice,     // which option button of a group is selected, "none" for none
    Flag,       // "True"/"False"; anything but "False" is true
    Timer,      // a text box holding a number, normalised when read
};

struct ChoiceOption {
    std::string_view holder;  // the option button
    std::string_view stored;  // its stored text (not its caption)
};

struct Setting {
    std::string_view key;  // subkey text under the hive
    std::string_view name;
    Kind kind;
    std::string_view holder;  // a control (controls::k...) or a record variable; empty for choices
    std::string_view defaultText;
    std::span<const ChoiceOption> options = {};
    // Choice groups: the option that a text matching none of them deselects, if any.
    std::string_view clearedOnNoMatch = {};
};

inline constexpr std::string_view kHive = "HKEY_LOCAL_MACHINE";
inline constexpr std::string_view kRootKey = "\\Software\\Velmor";
inline constexpr std::string_view kPathsKey = "\\Software\\Velmor\\Paths";
inline constexpr std::string_view kSoundKey = "\\Software\\Velmor\\Sound";
inline constexpr std::string_view kVideoKey = "\\Software\\Velmor\\Video";
inline constexpr std::string_view kOptionsKey = "\\Software\\Velmor\\Options";
inline constexpr std::string_view kInputKey = "\\Software\\Velmor\\Input";
inline constexpr std::string_view kPictureLinksKey = "\\Software\\Velmor\\Picture Links";

// Holder names of the settings record's plain variables.
namespace record {
inline constexpr std::string_view kZsnesPath = "ZSNES Location";
inline constexpr std::string_view kRomPath = "Rom Location";
inline constexpr std::string_view kSpcPlayPath = "SPCPlay Loc";
inline constexpr std::string_view kSavePath = "Save Location";
inline constexpr std::string_view kShotsPath = "SShots Location";
inline constexpr std::string_view kScreenSaver = "ScreenSaver";
inline constexpr std::string_view kAutoTab = "AutoTab";
inline constexpr std::string_view kCloseSpc = "CloseSPC";
inline constexpr std::array kTexts{kZsnesPath, kRomPath, kSpcPlayPath, kSavePath, kShotsPath};
inline constexpr std::array kFlags{kScreenSaver, kAutoTab, kCloseSpc};
}  // namespace record

inline constexpr std::array<ChoiceOption, 2> kColorOptions{
    {{controls::kOption3, "256"}, {controls::kOption4, "16-bit"}}};
inline constexpr std::array<ChoiceOption, 2> kVideoModeOptions{
    {{controls::kOption5, "normal"}, {controls::kOption6, "Vesa 2"}}};
inline constexpr std::array<ChoiceOption, 4> kResolutionOptions{{{controls::kOption7, "256x256"},
                                                                 {controls::kOption8, "320x240"},
                                                                 {controls::kOption11, "640x480"},
                                                                 {controls::kOption12, "512x384"}}};

// The 41 remembered settings, in the order in which a save writes them.
// clang-format off
inline constexpr std::array<Setting, 41> kSettings{{
    {kRootKey,    "Last Game",         Kind::Text,      controls::kGmLabel,   ""},
    {kPathsKey,   "ZSNES Location",    Kind::Text,      record::kZsnesPath,   ""},
    {kPathsKey,   "Rom Location",      Kind::Text,      record::kRomPath,     ""},
    {kPathsKey,   "SPCPlay Loc",       Kind::Text,      record::kSpcPlayPath, ""},
    {kPathsKey,   "Save Location",     Kind::Text,      record::kSavePath,    ""},
    {kPathsKey,   "SShots Location",   Kind::Text,      record::kShotsPath,   ""},
    {kSoundKey,   "Sound Enabled",     Kind::Box1,      controls::kCheck1,    "0"},
    {kSoundKey,   "Sound Stereo",      Kind::Box1,      controls::kCheck2,    "0"},
    {kSoundKey,   "Sound Buffering",   Kind::Box1,      controls::kCheck14,   "0"},
    {kSoundKey,   "Sound ADSR",        Kind::Box1,      controls::kCheck11,   "0"},
    {kSoundKey,   "Sound 8-bit",       Kind::Box1,      controls::kCheck3,    "0"},
    {kSoundKey,   "Sound Rate",        Kind::RateIndex, controls::kCombo1,    "0"},
    {kVideoKey,   "# of Colors",       Kind::Choice,    "",                   "none", kColorOptions, controls::kOption3},
    {kVideoKey,   "Video Mode",        Kind::Choice,    "",                   "none", kVideoModeOptions, controls::kOption5},
    {kVideoKey,   "Resolution",        Kind::Choice,    "",                   "none", kResolutionOptions},
    {kVideoKey,   "Auto Frame Skip",   Kind::Box1,      controls::kCheck12,   "0"},
    {kVideoKey,   "VSync",             Kind::Box1,      controls::kCheck13,   "0"},
    {kVideoKey,   "Interpolation",     Kind::Box1,      controls::kCheck15,   "0"},
    {kVideoKey,   "Scanlines",         Kind::Box1,      controls::kCheck16,   "0"},
    {kVideoKey,   "Scale Image",       Kind::Box1,      controls::kCheck17,   "0"},
    {kVideoKey,   "Center Image",      Kind::Box1,      controls::kCheck18,   "0"},
    {kVideoKey,   "New Gfx",           Kind::Box1,      controls::kCheck19,   "0"},
    {kVideoKey,   "Frame Skip",        Kind::Number,    controls::kSlider3,   "0"},
    {kVideoKey,   "Gamma Correction",  Kind::Number,    controls::kSlider2,   "0"},
    {kOptionsKey, "CPU Cycles",        Kind::Number,    controls::kSlider1,   "100"},
    {kOptionsKey, "ROM Settings",      Kind::Index,     controls::kCombo4,    "0"},
    {kOptionsKey, "Timing",            Kind::Index,     controls::kCombo3,    "0"},
    {kOptionsKey, "Disable GUI",       Kind::BoxN,      controls::kCheck4,    "0"},
    {kOptionsKey, "Debugger",          Kind::BoxN,      controls::kCheck6,    "0"},
    {kOptionsKey, "Skip Delay",        Kind::BoxN,      controls::kCheck5,    "0"},
    {kOptionsKey, "Uninterleave ROM",  Kind::BoxN,      controls::kCheck7,    "0"},
    {kOptionsKey, "FPU Copy",          Kind::BoxN,      controls::kCheck8,    "0"},
    {kOptionsKey, "MMX Copy",          Kind::BoxN,      controls::kCheck9,    "0"},
    {kOptionsKey, "ALL Extensions",    Kind::BoxN,      controls::kCheck10,   "0"},
    {kOptionsKey, "SPC Timer Minutes", Kind::Timer,     controls::kText1,     "0"},
    {kOptionsKey, "SPC Timer Seconds", Kind::Timer,     controls::kText2,     "30"},
    {kOptionsKey, "ScreenSaver",       Kind::Flag,      record::kScreenSaver, "True"},
    {kOptionsKey, "AutoTab",           Kind::Flag,      record::kAutoTab,     "True"},
    {kOptionsKey, "CloseSPC",          Kind::Flag,      record::kCloseSpc,    "True"},
    {kInputKey,   "Player 1 Input",    Kind::Index,     controls::kP1input,   "1"},
    {kInputKey,   "Player 2 Input",    Kind::Index,     controls::kP2input,   "0"},
}};
// clang-format on

namespace detail {

constexpr bool isOneOf(std::string_view name, std::span<const std::string_view> names) {
    for (const std::string_view candidate : names) {
        if (candidate == name) {
            return true;
        }
    }
    return false;
}

constexpr bool controlIs(std::string_view name, controls::Kind kind) {
    return controls::has(name) && controls::find(name)->kind == kind;
}

constexpr bool isDecimal(std::string_view text, int value) {
    std::string_view digits = text;
    if (value < 0) {
        if (!digits.starts_with('-')) {
            return false;
        }
        digits.remove_prefix(1);
        value = -value;
    }
    do {
        if (digits.empty() || digits.back() != '0' + value % 10) {
            return false;
        }
        digits.remove_suffix(1);
        value /= 10;
    } while (value != 0);
    return digits.empty();
}

// Whether a setting's holder is a control of the kind its value needs or a variable of the
// record, and its default the state that its control starts in.
constexpr bool fitsItsHolder(const Setting& s) {
    using controls::Kind;
    switch (s.kind) {
        case settings::Kind::Text:
            return isOneOf(s.holder, record::kTexts) || controlIs(s.holder, Kind::Label) ||
                   controlIs(s.holder, Kind::TextBox);
        case settings::Kind::Box1:
        case settings::Kind::BoxN:
            return controlIs(s.holder, Kind::CheckBox) && s.defaultText == "0";
        case settings::Kind::Index:
        case settings::Kind::RateIndex:
            return controls::has(s.holder) && controls::isList(*controls::find(s.holder)) &&
                   isDecimal(s.defaultText, controls::find(s.holder)->startIndex);
        case settings::Kind::Number:
            return controlIs(s.holder, Kind::Slider) &&
                   isDecimal(s.defaultText, controls::find(s.holder)->range.start);
        case settings::Kind::Timer:
            return controlIs(s.holder, Kind::TextBox) &&
                   s.defaultText == controls::find(s.holder)->text;
        case settings::Kind::Flag:
            return isOneOf(s.holder, record::kFlags);
        case settings::Kind::Choice:
            for (const ChoiceOption& option : s.options) {
                if (!controlIs(option.holder, Kind::OptionButton)) {
                    return false;
                }
            }
            return s.defaultText == "none";
    }
    return false;
}

consteval bool everySettingFitsItsHolder() {
    for (const Setting& setting : kSettings) {
        if (!fitsItsHolder(setting)) {
            return false;
        }
    }
    return true;
}

}  // namespace detail

static_assert(detail::everySettingFitsItsHolder(),
              "a setting's holder is not a control of its kind, or its default is not the state "
              "that the control starts in");

// The row of a value name. Used in constant expressions, a name that is not in the table does
// not build.
consteval std::size_t settingIndex(std::string_view name) {
    for (std::size_t i = 0; i < kSettings.size(); ++i) {
        if (kSettings[i].name == name) {
            return i;
        }
    }
    throw "no such setting";
}

}  // namespace velmor::settings
