#include "settings/ValueKinds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "settings/Blanks.h"
#include "settings/NumberRules.h"

namespace velmor::settings {
namespace {

std::string choiceText(const Setting& setting, const Holders& holders) {
    for (const ChoiceOption& option : setting.options) {
        if (holders.optionSelected(option.holder)) {
            return std::string(option.stored);
        }
    }
    return "none";
}

void applyChoice(const Setting& setting, std::string_view text, Holders& holders) {
    for (const ChoiceOption& option : setting.options) {
        if (option.stored == text) {
            holders.selectOption(option.holder);
            return;
        }
    }
    if (!setting.clearedOnNoMatch.empty()) {
        holders.deselectOption(setting.clearedOnNoMatch);
    }
}

// The integer a stored text stands for, when it fits a 32-bit holder at all.
std::optional<int> storedInteger(std::string_view text) {
    const auto value = roundHalfEven(numericValue(text));
    if (!value || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

void applySlider(std::string_view holder, std::string_view text, Holders& holders) {
    const int low = holders.sliderMinimum(holder);
    const int high = holders.sliderMaximum(holder);
    const double number = numericValue(text);
    if (std::isnan(number)) {
        return;
    }
    // Beyond any integer the sign still tells which end of the range is meant.
    const auto value = roundHalfEven(number);
    std::int64_t position = 0;
    if (value) {
        position = std::clamp<std::int64_t>(*value, low, high);
    } else {
        position = number < 0 ? low : high;
    }
    holders.setSliderValue(holder, static_cast<int>(position));
}

}  // namespace

std::string writtenText(const Setting& setting, const Holders& holders) {
    const std::string_view holder = setting.holder;
    switch (setting.kind) {
        case Kind::Text:
            return std::string(trimTrailingBlanks(holders.text(holder)));
        case Kind::Box1:
            return holders.boxState(holder) == kClear ? "0" : "1";
        case Kind::BoxN:
            return std::to_string(holders.boxState(holder));
        case Kind::Index:
        case Kind::RateIndex:
            return std::to_string(holders.listIndex(holder));
        case Kind::Number:
            return std::to_string(holders.sliderValue(holder));
        case Kind::Choice:
            return choiceText(setting, holders);
        case Kind::Flag:
            return holders.flag(holder) ? "True" : "False";
        case Kind::Timer:
            return holders.text(holder);
    }
    return {};
}

void applyText(const Setting& setting, std::string_view text, Holders& holders) {
    const std::string_view holder = setting.holder;
    switch (setting.kind) {
        case Kind::Text:
            holders.setText(holder, std::string(text));
            return;
        case Kind::Box1:
            holders.setBoxState(holder, text == "1" ? kTicked : kClear);
            return;
        case Kind::BoxN:
            if (const auto state = storedInteger(text);
                state && *state >= kClear && *state <= kGrayed) {
                holders.setBoxState(holder, *state);
            }
            return;
        case Kind::Index:
            if (const auto index = storedInteger(text);
                index && *index >= -1 && *index < holders.listCount(holder)) {
                holders.setListIndex(holder, *index);
            }
            return;
        case Kind::RateIndex:
            if (text.size() == 1 && text[0] >= '0' && text[0] <= '3') {
                holders.setListIndex(holder, text[0] - '0');
            }
            return;
        case Kind::Number:
            applySlider(holder, text, holders);
            return;
        case Kind::Choice:
            applyChoice(setting, text, holders);
            return;
        case Kind::Flag:
            holders.setFlag(holder, text != "False");
            return;
        case Kind::Timer:
            holders.setText(holder, shortestText(numericValue(text)));
            return;
    }
}

}  // namespace velmor::settings
