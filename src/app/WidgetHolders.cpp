#include "app/WidgetHolders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <stdexcept>

#include "interlocks/Interlocks.h"
#include "widgets/EditableList.h"
#include "widgets/TextBytes.h"

namespace velmor::app {

using settings::HolderUse;

WidgetHolders::WidgetHolders(QWidget& form, settings::SettingsRecord& record) : record_(record) {
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty()) {
            widgets_.insert(widget->objectName(), widget);
        }
    }
}

template <typename Widget>
Widget* WidgetHolders::find(std::string_view holder, HolderUse use) const {
    settings::requireHolder(holder, use);
    return qobject_cast<Widget*>(
        widgets_.value(QString::fromLatin1(holder.data(), static_cast<qsizetype>(holder.size()))));
}

template <typename Widget>
Widget& WidgetHolders::get(std::string_view holder, HolderUse use) const {
    if (auto* widget = find<Widget>(holder, use)) {
        return *widget;
    }
    throw std::logic_error("the window has no control " + std::string(holder));
}

std::string WidgetHolders::text(std::string_view holder) const {
    if (const std::string* variable = record_.text(holder)) {
        return *variable;
    }
    if (const auto* label = find<QLabel>(holder, HolderUse::Text)) {
        return widgets::textBytes(*label);
    }
    return widgets::textBytes(get<QLineEdit>(holder, HolderUse::Text));
}

void WidgetHolders::setText(std::string_view holder, const std::string& text) {
    if (std::string* variable = record_.text(holder)) {
        *variable = text;
    } else if (auto* label = find<QLabel>(holder, HolderUse::Text)) {
        widgets::setTextBytes(*label, text);
    } else {
        widgets::setTextBytes(get<QLineEdit>(holder, HolderUse::Text), text);
    }
}

int WidgetHolders::boxState(std::string_view holder) const {
    switch (get<QCheckBox>(holder, HolderUse::Box).checkState()) {
        case Qt::Checked:
            return settings::kTicked;
        case Qt::PartiallyChecked:
            return settings::kGrayed;
        default:
            return settings::kClear;
    }
}

void WidgetHolders::setBoxState(std::string_view holder, int state) {
    auto& box = get<QCheckBox>(holder, HolderUse::Box);
    if (state == settings::kGrayed) {
        box.setCheckState(Qt::PartiallyChecked);
        // Only the program grays a box: the user's next click ticks it, and from then on
        // clicks toggle between clear and ticked.
        QObject::connect(
            &box, &QCheckBox::clicked, &box, [&box] { box.setTristate(false); },
            Qt::SingleShotConnection);
        return;
    }
    box.setTristate(false);
    box.setCheckState(settings::isTicked(state) ? Qt::Checked : Qt::Unchecked);
}

int WidgetHolders::listIndex(std::string_view holder) const {
    return widgets::selectedIndex(get<QComboBox>(holder, HolderUse::List));
}

int WidgetHolders::listCount(std::string_view holder) const {
    return get<QComboBox>(holder, HolderUse::List).count();
}

void WidgetHolders::setListIndex(std::string_view holder, int index) {
    auto& list = get<QComboBox>(holder, HolderUse::List);
    if (index >= -1 && index < list.count()) {
        list.setCurrentIndex(index);
    }
}

int WidgetHolders::sliderValue(std::string_view holder) const {
    return get<QSlider>(holder, HolderUse::Slider).value();
}

int WidgetHolders::sliderMinimum(std::string_view holder) const {
    return get<QSlider>(holder, HolderUse::Slider).minimum();
}

int WidgetHolders::sliderMaximum(std::string_view holder) const {
    return get<QSlider>(holder, HolderUse::Slider).maximum();
}

void WidgetHolders::setSliderValue(std::string_view holder, int value) {
    auto& slider = get<QSlider>(holder, HolderUse::Slider);
    // A slider set by the program runs no handler; its label is written separately.
    const QSignalBlocker quiet(slider);
    slider.setValue(value);
}

bool WidgetHolders::optionSelected(std::string_view holder) const {
    return get<QRadioButton>(holder, HolderUse::Option).isChecked();
}

void WidgetHolders::selectOption(std::string_view holder) {
    get<QRadioButton>(holder, HolderUse::Option).setChecked(true);
}

void WidgetHolders::deselectOption(std::string_view holder) {
    interlocks::Interlocks::deselect(get<QRadioButton>(holder, HolderUse::Option));
}

bool WidgetHolders::flag(std::string_view holder) const {
    settings::requireHolder(holder, HolderUse::Flag);
    return *record_.flag(holder);
}

void WidgetHolders::setFlag(std::string_view holder, bool value) {
    settings::requireHolder(holder, HolderUse::Flag);
    *record_.flag(holder) = value;
}

}  // namespace velmor::app
