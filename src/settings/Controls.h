#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace velmor::controls {

// What a control of the main window is; the widget kit makes each kind as one Qt class.
enum class Kind {
    PictureButton,
    PushButton,
    CheckBox,
    OptionButton,
    ComboBox,      // a list with a text field the user may type in
    DropDownList,  // a list whose text can only be chosen
    TextBox,
    Label,
    FittedLabel,  // a label sized to its text
    Picture,
    Frame,
    Slider,
    TabControl,
    Menu,
    MenuItem,
    MenuSeparator,
};

// A slider's range and steps, and the position the window starts with.
struct Range {
    int minimum = 0;
    int maximum = 0;
    int tickInterval = 0;
    int smallStep = 0;
    int largeStep = 0;
    int start = 0;
};

// One control of the main window Form1, known everywhere by its name in the window description,
// which is also its Qt object name: the pages are built with it, the handlers find the control
// by it, the settings catalogue names it as a holder and the tests check the window against it.
// Lists, sliders and text boxes also carry the state the window starts from.
struct Control {
    std::string_view name;
    Kind kind;
    std::span<const std::string_view> items = {};
    // The item that start-up selects before the settings load; -1 for none.
    int startIndex = -1;
    // The items are added by start-up rather than when the window is built.
    bool itemsAtStartUp = false;
    Range range = {};
    std::string_view text = {};  // a text box's first text

    constexpr operator std::string_view() const { return name; }
};

// The tabs of SSTab1, in the order they are added.
enum Tab : int {
    kPathsTab,
    kSoundTab,
    kVideoTab,
    kControlsTab,
    kOptionsTab,
    kMusicTab,
    kPicturesTab,
    kTabCount
};

inline constexpr std::array<std::string_view, 5> kPathNames{
    "ZSNES Executable", "ROM Directory", "Path to Saved Games",
    "SPCPlay Executable ",  // its trailing blank is part of it: the paths tab matches by text
    "Screen Shots Directory"};
inline constexpr std::array<std::string_view, 4> kSamplingRates{"8000Hz", "11025Hz", "22050Hz",
                                                                "44100Hz"};
inline constexpr std::array<std::string_view, 7> kInputDevices{"Disable",
                                                               "Keyboard",
                                                               "Joystick",
                                                               "4 Button Gamepad #1",
                                                               "4 Button Gamepad #2",
                                                               "6 Button Joystick",
                                                               "Sidewinder Gamepad"};
inline constexpr std::array<std::string_view, 3> kRomTypes{"auto", "LO", "HI"};
inline constexpr std::array<std::string_view, 3> kTimings{"auto", "NTSC", "PAL"};
inline constexpr std::array<std::string_view, 4> kPictureActions{
    "Link Other Picture", "Unlink All Pictures", "Unlink this Game", "Search Zip for Picture"};

// clang-format off
// On the window itself, in the layout's tab order.
inline constexpr Control kCommand1{"Command1", Kind::PictureButton};
inline constexpr Control kCommand2{"Command2", Kind::PictureButton};
inline constexpr Control kGmLabel{"GmLabel", Kind::Label};  // its caption is the current game
inline constexpr Control kSSTab1{"SSTab1", Kind::TabControl};
inline constexpr Control kFrame3{"Frame3", Kind::Frame};
inline constexpr Control kLabel8{"Label8", Kind::FittedLabel};
inline constexpr Control kImage3{"Image3", Kind::Picture};

// Paths.
inline constexpr Control kFrame5{"Frame5", Kind::Frame};
inline constexpr Control kPaths{"Paths", Kind::TextBox};
inline constexpr Control kLinkPaths{.name = "LinkPaths", .kind = Kind::ComboBox, .items = kPathNames};
inline constexpr Control kCommand6{"Command6", Kind::PushButton};
inline constexpr Control kCommand4{"Command4", Kind::PushButton};

// Sound.
inline constexpr Control kFrame7{"Frame7", Kind::Frame};
inline constexpr Control kCheck1{"Check1", Kind::CheckBox};
inline constexpr Control kCheck2{"Check2", Kind::CheckBox};
inline constexpr Control kCheck14{"Check14", Kind::CheckBox};
inline constexpr Control kCheck3{"Check3", Kind::CheckBox};
inline constexpr Control kCheck11{"Check11", Kind::CheckBox};
inline constexpr Control kLabel2{"Label2", Kind::FittedLabel};
inline constexpr Control kCombo1{.name = "Combo1", .kind = Kind::DropDownList,
                                 .items = kSamplingRates, .startIndex = 0, .itemsAtStartUp = true};

// Video.
inline constexpr Control kFrame10{"Frame10", Kind::Frame};
inline constexpr Control kFrame1{"Frame1", Kind::Frame};
inline constexpr Control kOption3{"Option3", Kind::OptionButton};
inline constexpr Control kOption4{"Option4", Kind::OptionButton};
inline constexpr Control kFrame2{"Frame2", Kind::Frame};
inline constexpr Control kOption5{"Option5", Kind::OptionButton};
inline constexpr Control kOption6{"Option6", Kind::OptionButton};
inline constexpr Control kLabel11{"Label11", Kind::FittedLabel};
inline constexpr Control kOption7{"Option7", Kind::OptionButton};
inline constexpr Control kOption8{"Option8", Kind::OptionButton};
inline constexpr Control kOption11{"Option11", Kind::OptionButton};
inline constexpr Control kOption12{"Option12", Kind::OptionButton};
inline constexpr Control kCheck12{"Check12", Kind::CheckBox};
inline constexpr Control kCheck13{"Check13", Kind::CheckBox};
inline constexpr Control kCheck15{"Check15", Kind::CheckBox};
inline constexpr Control kCheck16{"Check16", Kind::CheckBox};
inline constexpr Control kCheck17{"Check17", Kind::CheckBox};
inline constexpr Control kCheck18{"Check18", Kind::CheckBox};
inline constexpr Control kCheck19{"Check19", Kind::CheckBox};
inline constexpr Control kLabel14{"Label14", Kind::FittedLabel};
inline constexpr Control kSlider3{.name = "Slider3", .kind = Kind::Slider, .range = {0, 10, 1, 1, 5, 0}};
inline constexpr Control kLabel13{"Label13", Kind::FittedLabel};
inline constexpr Control kSlider2{.name = "Slider2", .kind = Kind::Slider, .range = {0, 5, 1, 1, 1, 0}};

// Controls.
inline constexpr Control kLabel16{"Label16", Kind::FittedLabel};
inline constexpr Control kP1input{.name = "P1input", .kind = Kind::ComboBox,
                                  .items = kInputDevices, .startIndex = 1};
inline constexpr Control kCommand3{"Command3", Kind::PushButton};
inline constexpr Control kLabel19{"Label19", Kind::FittedLabel};
inline constexpr Control kP2input{.name = "P2input", .kind = Kind::ComboBox,
                                  .items = kInputDevices, .startIndex = 0};
inline constexpr Control kCommand12{"Command12", Kind::PushButton};

// Options.
inline constexpr Control kFrame8{"Frame8", Kind::Frame};
inline constexpr Control kCheck5{"Check5", Kind::CheckBox};
inline constexpr Control kCheck6{"Check6", Kind::CheckBox};
inline constexpr Control kCheck4{"Check4", Kind::CheckBox};
inline constexpr Control kCheck7{"Check7", Kind::CheckBox};
inline constexpr Control kCheck10{"Check10", Kind::CheckBox};
inline constexpr Control kCheck8{"Check8", Kind::CheckBox};
inline constexpr Control kCheck9{"Check9", Kind::CheckBox};
inline constexpr Control kLabel12{"Label12", Kind::Label};
inline constexpr Control kCombo4{.name = "Combo4", .kind = Kind::DropDownList,
                                 .items = kRomTypes, .startIndex = 0};
inline constexpr Control kLabel15{"Label15", Kind::Label};
inline constexpr Control kCombo3{.name = "Combo3", .kind = Kind::ComboBox,
                                 .items = kTimings, .startIndex = 0};
inline constexpr Control kLabel7{"Label7", Kind::Label};
inline constexpr Control kSlider1{.name = "Slider1", .kind = Kind::Slider,
                                  .range = {50, 150, 10, 1, 5, 100}};

// Sonara (music).
inline constexpr Control kFrame6{"Frame6", Kind::Frame};
inline constexpr Control kImage1{"Image1", Kind::Picture};
inline constexpr Control kLabel17{"Label17", Kind::FittedLabel};
inline constexpr Control kText1{.name = "Text1", .kind = Kind::TextBox, .text = "0"};
inline constexpr Control kLabel6{"Label6", Kind::Label};
inline constexpr Control kText2{.name = "Text2", .kind = Kind::TextBox, .text = "30"};
inline constexpr Control kLabel10{"Label10", Kind::FittedLabel};
inline constexpr Control kMusicList{"MusicList", Kind::ComboBox};
inline constexpr Control kCommand11{"Command11", Kind::PushButton};
inline constexpr Control kCommand10{"Command10", Kind::PushButton};
inline constexpr Control kCommand9{"Command9", Kind::PushButton};
inline constexpr Control kCommand13{"Command13", Kind::PushButton};
inline constexpr Control kCommand14{"Command14", Kind::PushButton};

// Pictara's (pictures).
inline constexpr Control kFrame4{"Frame4", Kind::Frame};
inline constexpr Control kCombo2{.name = "Combo2", .kind = Kind::ComboBox,
                                 .items = kPictureActions, .startIndex = 0};
inline constexpr Control kCommand15{"Command15", Kind::PushButton};
inline constexpr Control kImage2{"Image2", Kind::Picture};
inline constexpr Control kPicStatus{"PicStatus", Kind::Label};

// The menus, each followed by its items.
inline constexpr Control kFileMenu{"File", Kind::Menu};
inline constexpr Control kExit{"Exit", Kind::MenuItem};
inline constexpr Control kPreferencesMenu{"Preferences", Kind::Menu};
inline constexpr Control kOpt{"Opt", Kind::MenuItem};
inline constexpr Control kRegFiles{"RegFiles", Kind::MenuItem};
inline constexpr Control kSeparator{"separator", Kind::MenuSeparator};
inline constexpr Control kSaveSettings{"SaveSettings", Kind::MenuItem};
inline constexpr Control kHelpMenu{"Help", Kind::Menu};
inline constexpr Control kAbout{"About", Kind::MenuItem};

// Every control above, in the same order.
inline constexpr auto kAll = std::to_array<const Control*>({
    &kCommand1, &kCommand2, &kGmLabel, &kSSTab1, &kFrame3, &kLabel8, &kImage3,
    &kFrame5, &kPaths, &kLinkPaths, &kCommand6, &kCommand4,
    &kFrame7, &kCheck1, &kCheck2, &kCheck14, &kCheck3, &kCheck11, &kLabel2, &kCombo1,
    &kFrame10, &kFrame1, &kOption3, &kOption4, &kFrame2, &kOption5, &kOption6, &kLabel11,
    &kOption7, &kOption8, &kOption11, &kOption12, &kCheck12, &kCheck13, &kCheck15, &kCheck16,
    &kCheck17, &kCheck18, &kCheck19, &kLabel14, &kSlider3, &kLabel13, &kSlider2,
    &kLabel16, &kP1input, &kCommand3, &kLabel19, &kP2input, &kCommand12,
    &kFrame8, &kCheck5, &kCheck6, &kCheck4, &kCheck7, &kCheck10, &kCheck8, &kCheck9, &kLabel12,
    &kCombo4, &kLabel15, &kCombo3, &kLabel7, &kSlider1,
    &kFrame6, &kImage1, &kLabel17, &kText1, &kLabel6, &kText2, &kLabel10, &kMusicList,
    &kCommand11, &kCommand10, &kCommand9, &kCommand13, &kCommand14,
    &kFrame4, &kCombo2, &kCommand15, &kImage2, &kPicStatus,
    &kFileMenu, &kExit, &kPreferencesMenu, &kOpt, &kRegFiles, &kSeparator, &kSaveSettings,
    &kHelpMenu, &kAbout,
});
// clang-format on

// The control of that name; null when the window has none.
constexpr const Control* find(std::string_view name) {
    for (const Control* control : kAll) {
        if (control->name == name) {
            return control;
        }
    }
    return nullptr;
}

// Whether the window has a control of that name. (Unlike a test of find's result against null,
// this is a constant expression under the undefined-behaviour sanitizer as well.)
constexpr bool has(std::string_view name) {
    for (const Control* control : kAll) {
        if (control->name == name) {
            return true;
        }
    }
    return false;
}

consteval bool namesAreUnique() {
    for (std::size_t i = 0; i < kAll.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (kAll[i]->name == kAll[j]->name) {
                return false;
            }
        }
    }
    return true;
}
static_assert(namesAreUnique(), "two controls of the main window share a name");

constexpr bool isList(const Control& control) {
    return control.kind == Kind::ComboBox || control.kind == Kind::DropDownList;
}

}  // namespace velmor::controls
