#include "support/FakeHolders.h"

#include "settings/Catalogue.h"

namespace velmor::test {

// The start state of the main window before any setting is loaded.
FakeHolders::FakeHolders() {
    for (const auto& setting : settings::kSettings) {
        switch (setting.kind) {
            case settings::Kind::Text:
                texts[std::string(setting.holder)] = "";
                break;
            case settings::Kind::Box1:
            case settings::Kind::BoxN:
                boxes[std::string(setting.holder)] = 0;
                break;
            case settings::Kind::Choice:
                for (const auto& option : setting.options) {
                    options[std::string(option.holder)] = false;
                }
                break;
            case settings::Kind::Flag:
                flags[std::string(setting.holder)] = false;
                break;
            default:
                break;
        }
    }
    texts["Text1"] = "0";
    texts["Text2"] = "30";
    lists = {{"Combo1", 0}, {"Combo3", 0}, {"Combo4", 0}, {"P1input", 1}, {"P2input", 0}};
    listCounts = {{"Combo1", 4}, {"Combo3", 3}, {"Combo4", 3}, {"P1input", 7}, {"P2input", 7}};
    sliders = {{"Slider1", 100}, {"Slider2", 0}, {"Slider3", 0}};
    sliderRanges = {{"Slider1", {50, 150}}, {"Slider2", {0, 5}}, {"Slider3", {0, 10}}};
}

void FakeHolders::record(std::string_view holder, const std::string& value) {
    changes.push_back(std::string(holder) + "=" + value);
}

void FakeHolders::setText(std::string_view holder, const std::string& value) {
    texts[std::string(holder)] = value;
    record(holder, value);
}

void FakeHolders::setBoxState(std::string_view holder, int state) {
    boxes[std::string(holder)] = state;
    record(holder, std::to_string(state));
}

void FakeHolders::setListIndex(std::string_view holder, int index) {
    lists[std::string(holder)] = index;
    record(holder, std::to_string(index));
}

int FakeHolders::sliderMinimum(std::string_view holder) const {
    return get(sliderRanges, holder).first;
}

int FakeHolders::sliderMaximum(std::string_view holder) const {
    return get(sliderRanges, holder).second;
}

void FakeHolders::setSliderValue(std::string_view holder, int value) {
    sliders[std::string(holder)] = value;
    record(holder, std::to_string(value));
}

// Option buttons in one parent form a group: selecting one deselects the others of its group.
void FakeHolders::selectOption(std::string_view holder) {
    for (const auto& setting : settings::kSettings) {
        for (const auto& option : setting.options) {
            if (option.holder == holder) {
                for (const auto& other : setting.options) {
                    options[std::string(other.holder)] = false;
                }
            }
        }
    }
    options[std::string(holder)] = true;
    record(holder, "selected");
}

void FakeHolders::deselectOption(std::string_view holder) {
    options[std::string(holder)] = false;
    record(holder, "deselected");
}

void FakeHolders::setFlag(std::string_view holder, bool value) {
    flags[std::string(holder)] = value;
    record(holder, value ? "True" : "False");
}

}  // namespace velmor::test
