#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

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
    std::string_view holder;  // control name or record variable; empty for choice groups
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
}  // namespace record

inline constexpr std::array<ChoiceOption, 2> kColorOptions{
    {{"Option3", "256"}, {"Option4", "16-bit"}}};
inline constexpr std::array<ChoiceOption, 2> kVideoModeOptions{
    {{"Option5", "normal"}, {"Option6", "Vesa 2"}}};
inline constexpr std::array<ChoiceOption, 4> kResolutionOptions{{{"Option7", "256x256"},
                                                                 {"Option8", "320x240"},
                                                                 {"Option11", "640x480"},
                                                                 {"Option12", "512x384"}}};

// The 41 remembered settings, in the order in which a save writes them.
// clang-format off
inline constexpr std::array<Setting, 41> kSettings{{
    {kRootKey,    "Last Game",         Kind::Text,      "GmLabel",            ""},
    {kPathsKey,   "ZSNES Location",    Kind::Text,      record::kZsnesPath,   ""},
    {kPathsKey,   "Rom Location",      Kind::Text,      record::kRomPath,     ""},
    {kPathsKey,   "SPCPlay Loc",       Kind::Text,      record::kSpcPlayPath, ""},
    {kPathsKey,   "Save Location",     Kind::Text,      record::kSavePath,    ""},
    {kPathsKey,   "SShots Location",   Kind::Text,      record::kShotsPath,   ""},
    {kSoundKey,   "Sound Enabled",     Kind::Box1,      "Check1",             "0"},
    {kSoundKey,   "Sound Stereo",      Kind::Box1,      "Check2",             "0"},
    {kSoundKey,   "Sound Buffering",   Kind::Box1,      "Check14",            "0"},
    {kSoundKey,   "Sound ADSR",        Kind::Box1,      "Check11",            "0"},
    {kSoundKey,   "Sound 8-bit",       Kind::Box1,      "Check3",             "0"},
    {kSoundKey,   "Sound Rate",        Kind::RateIndex, "Combo1",             "0"},
    {kVideoKey,   "# of Colors",       Kind::Choice,    "",                   "none", kColorOptions, "Option3"},
    {kVideoKey,   "Video Mode",        Kind::Choice,    "",                   "none", kVideoModeOptions, "Option5"},
    {kVideoKey,   "Resolution",        Kind::Choice,    "",                   "none", kResolutionOptions},
    {kVideoKey,   "Auto Frame Skip",   Kind::Box1,      "Check12",            "0"},
    {kVideoKey,   "VSync",             Kind::Box1,      "Check13",            "0"},
    {kVideoKey,   "Interpolation",     Kind::Box1,      "Check15",            "0"},
    {kVideoKey,   "Scanlines",         Kind::Box1,      "Check16",            "0"},
    {kVideoKey,   "Scale Image",       Kind::Box1,      "Check17",            "0"},
    {kVideoKey,   "Center Image",      Kind::Box1,      "Check18",            "0"},
    {kVideoKey,   "New Gfx",           Kind::Box1,      "Check19",            "0"},
    {kVideoKey,   "Frame Skip",        Kind::Number,    "Slider3",            "0"},
    {kVideoKey,   "Gamma Correction",  Kind::Number,    "Slider2",            "0"},
    {kOptionsKey, "CPU Cycles",        Kind::Number,    "Slider1",            "100"},
    {kOptionsKey, "ROM Settings",      Kind::Index,     "Combo4",             "0"},
    {kOptionsKey, "Timing",            Kind::Index,     "Combo3",             "0"},
    {kOptionsKey, "Disable GUI",       Kind::BoxN,      "Check4",             "0"},
    {kOptionsKey, "Debugger",          Kind::BoxN,      "Check6",             "0"},
    {kOptionsKey, "Skip Delay",        Kind::BoxN,      "Check5",             "0"},
    {kOptionsKey, "Uninterleave ROM",  Kind::BoxN,      "Check7",             "0"},
    {kOptionsKey, "FPU Copy",          Kind::BoxN,      "Check8",             "0"},
    {kOptionsKey, "MMX Copy",          Kind::BoxN,      "Check9",             "0"},
    {kOptionsKey, "ALL Extensions",    Kind::BoxN,      "Check10",            "0"},
    {kOptionsKey, "SPC Timer Minutes", Kind::Timer,     "Text1",              "0"},
    {kOptionsKey, "SPC Timer Seconds", Kind::Timer,     "Text2",              "30"},
    {kOptionsKey, "ScreenSaver",       Kind::Flag,      record::kScreenSaver, "True"},
    {kOptionsKey, "AutoTab",           Kind::Flag,      record::kAutoTab,     "True"},
    {kOptionsKey, "CloseSPC",          Kind::Flag,      record::kCloseSpc,    "True"},
    {kInputKey,   "Player 1 Input",    Kind::Index,     "P1input",            "1"},
    {kInputKey,   "Player 2 Input",    Kind::Index,     "P2input",            "0"},
}};
// clang-format on

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
