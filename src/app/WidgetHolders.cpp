#include "app/WidgetHolders.h"

#include "interlocks/Interlocks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVariant>

namespace velmor::app {
namespace {

// The property under which a label or text box keeps the bytes it was last given.
constexpr const char* kStoredBytes = "velmorStoredBytes";

QString fromBytes(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The bytes a widget shows: the ones it was given, as long as its text is still theirs.
std::string shownBytes(const QWidget& widget, const QString& shown) {
    const QVariant stored = widget.property(kStoredBytes);
    if (stored.isValid()) {
        const QByteArray bytes = stored.toByteArray();
        if (QString::fromUtf8(bytes) == shown) {
            return bytes.toStdString();
        }
    }
    return shown.toStdString();
}

}  // namespace

WidgetHolders::WidgetHolders(QWidget& form, settings::SettingsRecord& record) : record_(record) {
    for (QWidget* widget : form.findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty()) {
            widgets_.insert(widget->objectName(), widget);
        }
    }
}

template <typename Widget>
Widget* WidgetHolders::find(std::string_view holder) const {
    return qobject_cast<Widget*>(widgets_.value(fromBytes(holder)));
}

std::string WidgetHolders::text(std::string_view holder) const {
    if (const std::string* variable = record_.text(holder)) {
        return *variable;
    }
    if (const auto* label = find<QLabel>(holder)) {
        return shownBytes(*label, label->text());
    }
    if (const auto* edit = find<QLineEdit>(holder)) {
        return shownBytes(*edit, edit->text());
    }
    return {};
}

void WidgetHolders::setText(std::string_view holder, const std::string& text) {
    if (std::string* variable = record_.text(holder)) {
        *variable = text;
        return;
    }
    const QString shown = fromBytes(text);
    if (auto* label = find<QLabel>(holder)) {
        label->setText(shown);
        label->setProperty(kStoredBytes, QByteArray::fromStdString(text));
    } else if (auto* edit = find<QLineEdit>(holder)) {
        edit->setText(shown);
        edit->setProperty(kStoredBytes, QByteArray::fromStdString(text));
    }
}

int WidgetHolders::boxState(std::string_view holder) const {
    const auto* box = find<QCheckBox>(holder);
    if (box == nullptr) {
        return 0;
    }
    switch (box->checkState()) {
        case Qt::Checked:
            return 1;
        case Qt::PartiallyChecked:
            return 2;
        default:
            return 0;
    }
}

void WidgetHolders::setBoxState(std::string_view holder, int state) {
    auto* box = find<QCheckBox>(holder);
    if (box == nullptr) {
        return;
    }
    if (state == 2) {
        box->setCheckState(Qt::PartiallyChecked);
        // Only the program grays a box: the user's next click ticks it, and from then on
        // clicks toggle between clear and ticked.
        QObject::connect(
            box, &QCheckBox::clicked, box, [box] { box->setTristate(false); },
            Qt::SingleShotConnection);
        return;
    }
    box->setTristate(false);
    box->setCheckState(state == 1 ? Qt::Checked : Qt::Unchecked);
}

int WidgetHolders::listIndex(std::string_view holder) const {
    const auto* list = find<QComboBox>(holder);
    if (list == nullptr) {
        return -1;
    }
    const int index = list->currentIndex();
    // Text typed into an editable list is not one of its items: nothing is selected.
    if (index >= 0 && list->isEditable() && list->currentText() != list->itemText(index)) {
        return -1;
    }
    return index;
}

int WidgetHolders::listCount(std::string_view holder) const {
    const auto* list = find<QComboBox>(holder);
    return list == nullptr ? 0 : list->count();
}

void WidgetHolders::setListIndex(std::string_view holder, int index) {
    if (auto* list = find<QComboBox>(holder);
        list != nullptr && index >= -1 && index < list->count()) {
        list->setCurrentIndex(index);
    }
}

int WidgetHolders::sliderValue(std::string_view holder) const {
    const auto* slider = find<QSlider>(holder);
    return slider == nullptr ? 0 : slider->value();
}

int WidgetHolders::sliderMinimum(std::string_view holder) const {
    const auto* slider = find<QSlider>(holder);
    return slider == nullptr ? 0 : slider->minimum();
}

int WidgetHolders::sliderMaximum(std::string_view holder) const {
    const auto* slider = find<QSlider>(holder);
    return slider == nullptr ? 0 : slider->maximum();
}

void WidgetHolders::setSliderValue(std::string_view holder, int value) {
    if (auto* slider = find<QSlider>(holder)) {
        // A slider set by the program runs no handler; its label is written separately.
        const QSignalBlocker quiet(slider);
        slider->setValue(value);
    }
}

bool WidgetHolders::optionSelected(std::string_view holder) const {
    const auto* option = find<QRadioButton>(holder);
    return option != nullptr && option->isChecked();
}

void WidgetHolders::selectOption(std::string_view holder) {
    if (auto* option = find<QRadioButton>(holder)) {
        option->setChecked(true);
    }
}

void WidgetHolders::deselectOption(std::string_view holder) {
    if (auto* option = find<QRadioButton>(holder)) {
        interlocks::Interlocks::deselect(*option);
    }
}

bool WidgetHolders::flag(std::string_view holder) const {
    const bool* variable = record_.flag(holder);
    return variable != nullptr && *variable;
}

void WidgetHolders::setFlag(std::string_view holder, bool value) {
    if (bool* variable = record_.flag(holder)) {
        *variable = value;
    }
}

}  // namespace velmor::app
