#include "support/FakeHolders.h"

#include "settings/Catalogue.h"

namespace velmor::test {

FakeHolders::FakeHolders()
    : texts{{"Text1", "0"}, {"Text2", "30"}},
      lists{{"Combo1", 0}, {"Combo3", 0}, {"Combo4", 0}, {"P1input", 1}, {"P2input", 0}},
      listCounts{{"Combo1", 4}, {"Combo3", 3}, {"Combo4", 3}, {"P1input", 7}, {"P2input", 7}},
      sliders{{"Slider1", 100}, {"Slider2", 0}, {"Slider3", 0}},
      sliderRanges{{"Slider1", {50, 150}}, {"Slider2", {0, 5}}, {"Slider3", {0, 10}}} {
    for (const auto& setting : settings::kSettings) {
        const std::string holder(setting.holder);
        if (setting.kind == settings::Kind::Text) {
            texts[holder] = "";
        } else if (setting.kind == settings::Kind::Box1 || setting.kind == settings::Kind::BoxN) {
            boxes[holder] = 0;
        } else if (setting.kind == settings::Kind::Flag) {
            flags[holder] = false;
        }
        for (const auto& option : setting.options) {
            options[std::string(option.holder)] = false;
        }
    }
}

// Option buttons of one setting form a group: selecting one deselects the others.
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
    set(options, holder, true, "selected");
}

}  // namespace velmor::test
