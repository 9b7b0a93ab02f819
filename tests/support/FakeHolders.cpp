#include "support/FakeHolders.h"

#include "settings/Catalogue.h"

namespace velmor::test {

FakeHolders::FakeHolders() {
    for (const auto& setting : settings::kSettings) {
        const std::string holder(setting.holder);
        const controls::Control* control = controls::find(setting.holder);
        switch (setting.kind) {
            case settings::Kind::Text:
            case settings::Kind::Timer:
                texts[holder] = control != nullptr ? std::string(control->text) : "";
                break;
            case settings::Kind::Box1:
            case settings::Kind::BoxN:
                boxes[holder] = settings::kClear;
                break;
            case settings::Kind::Index:
            case settings::Kind::RateIndex:
                lists[holder] = control->startIndex;
                listCounts[holder] = static_cast<int>(control->items.size());
                break;
            case settings::Kind::Number:
                sliders[holder] = control->range.start;
                sliderRanges[holder] = {control->range.minimum, control->range.maximum};
                break;
            case settings::Kind::Flag:
                flags[holder] = false;
                break;
            case settings::Kind::Choice:
                for (const auto& option : setting.options) {
                    options[std::string(option.holder)] = false;
                }
                break;
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
    set(options, holder, Use::Option, true, "selected");
}

}  // namespace velmor::test
