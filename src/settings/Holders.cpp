#include "settings/Holders.h"

#include <algorithm>
#include <stdexcept>

#include "settings/Catalogue.h"

namespace velmor::settings {
namespace {

bool fits(const controls::Control& control, HolderUse use) {
    using controls::Kind;
    switch (use) {
        case HolderUse::Text:
            return control.kind == Kind::Label || control.kind == Kind::FittedLabel ||
                   control.kind == Kind::TextBox;
        case HolderUse::Box:
            return control.kind == Kind::CheckBox;
        case HolderUse::List:
            return controls::isList(control);
        case HolderUse::Slider:
            return control.kind == Kind::Slider;
        case HolderUse::Option:
            return control.kind == Kind::OptionButton;
        case HolderUse::Flag:
            return false;
    }
    return false;
}

}  // namespace

void requireHolder(std::string_view holder, HolderUse use) {
    if (const controls::Control* control = controls::find(holder);
        control != nullptr && fits(*control, use)) {
        return;
    }
    if ((use == HolderUse::Text && std::ranges::count(record::kTexts, holder) > 0) ||
        (use == HolderUse::Flag && std::ranges::count(record::kFlags, holder) > 0)) {
        return;
    }
    throw std::logic_error("no holder " + std::string(holder) + " of that kind");
}

}  // namespace velmor::settings
