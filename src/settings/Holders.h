#pragma once

#include <string>
#include <string_view>

namespace velmor::settings {

// A check box's states. Only a ticked box counts as set; a grayed one, which only the program
// makes, does not.
inline constexpr int kClear = 0;
inline constexpr int kTicked = 1;
inline constexpr int kGrayed = 2;
constexpr bool isTicked(int boxState) {
    return boxState == kTicked;
}

// Where the settings live while the program runs: the controls of the main window and the plain
// variables of the settings record, each known by its holder name (a controls::k... constant or
// a record:: name). Setting a check box, an option button or a list selection runs that
// control's handler at once, as a user's change would; setting a slider or a text runs none.
// A name that is no holder of the kind asked for is a fault of the program: it throws
// std::logic_error rather than reading as 0 or "".
class Holders {
  public:
    virtual ~Holders() = default;

    virtual std::string text(std::string_view holder) const = 0;
    virtual void setText(std::string_view holder, const std::string& text) = 0;

    virtual int boxState(std::string_view holder) const = 0;
    virtual void setBoxState(std::string_view holder, int state) = 0;

    // List: selected index, -1 for none.
    virtual int listIndex(std::string_view holder) const = 0;
    virtual int listCount(std::string_view holder) const = 0;
    virtual void setListIndex(std::string_view holder, int index) = 0;

    virtual int sliderValue(std::string_view holder) const = 0;
    virtual int sliderMinimum(std::string_view holder) const = 0;
    virtual int sliderMaximum(std::string_view holder) const = 0;
    virtual void setSliderValue(std::string_view holder, int value) = 0;

    virtual bool optionSelected(std::string_view holder) const = 0;
    virtual void selectOption(std::string_view holder) = 0;
    virtual void deselectOption(std::string_view holder) = 0;

    virtual bool flag(std::string_view holder) const = 0;
    virtual void setFlag(std::string_view holder, bool value) = 0;
};

// What a holder is asked for.
enum class HolderUse { Text, Box, List, Slider, Option, Flag };

// Throws std::logic_error unless `holder` is a control of the main window or a variable of the
// record that can be asked for `use`.
void requireHolder(std::string_view holder, HolderUse use);

}  // namespace velmor::settings
