#include "interlocks/Interlocks.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <stdexcept>

#include "settings/Controls.h"
#include "widgets/ClickSlider.h"
#include "widgets/FindControl.h"

namespace velmor::interlocks {
namespace {

// Each label shows its slider's value after a fixed prefix that ends in two blanks.
const QString kCpuPrefix = QStringLiteral("Percentage of CPU cycles to Execute:  ");
const QString kGammaPrefix = QStringLiteral("Gamma Correction:  ");
const QString kFrameSkipPrefix = QStringLiteral("Frame Skip:  ");

}  // namespace

Interlocks::Interlocks(QWidget& form)
    : QObject(&form),
      option3_(&widgets::findControl<QRadioButton>(form, controls::kOption3)),
      option4_(&widgets::findControl<QRadioButton>(form, controls::kOption4)),
      option5_(&widgets::findControl<QRadioButton>(form, controls::kOption5)),
      option6_(&widgets::findControl<QRadioButton>(form, controls::kOption6)),
      option7_(&widgets::findControl<QRadioButton>(form, controls::kOption7)),
      option8_(&widgets::findControl<QRadioButton>(form, controls::kOption8)),
      option11_(&widgets::findControl<QRadioButton>(form, controls::kOption11)),
      option12_(&widgets::findControl<QRadioButton>(form, controls::kOption12)),
      check12_(&widgets::findControl<QCheckBox>(form, controls::kCheck12)),
      check15_(&widgets::findControl<QCheckBox>(form, controls::kCheck15)),
      check16_(&widgets::findControl<QCheckBox>(form, controls::kCheck16)),
      check17_(&widgets::findControl<QCheckBox>(form, controls::kCheck17)),
      check18_(&widgets::findControl<QCheckBox>(form, controls::kCheck18)),
      check19_(&widgets::findControl<QCheckBox>(form, controls::kCheck19)),
      slider1_(&widgets::findControl<QSlider>(form, controls::kSlider1)),
      slider2_(&widgets::findControl<QSlider>(form, controls::kSlider2)),
      slider3_(&widgets::findControl<QSlider>(form, controls::kSlider3)),
      label7_(&widgets::findControl<QLabel>(form, controls::kLabel7)),
      label13_(&widgets::findControl<QLabel>(form, controls::kLabel13)),
      label14_(&widgets::findControl<QLabel>(form, controls::kLabel14)) {
    const auto onSelect = [this](QRadioButton* option, void (Interlocks::*rule)()) {
        connect(option, &QRadioButton::toggled, this, [this, rule](bool selected) {
            if (selected) {
                (this->*rule)();
            }
        });
    };
    onSelect(option3_, &Interlocks::option3Click);
    onSelect(option4_, &Interlocks::option4Click);
    onSelect(option5_, &Interlocks::option5Click);
    onSelect(option6_, &Interlocks::option6Click);
    onSelect(option7_, &Interlocks::option7Click);
    onSelect(option8_, &Interlocks::option8Click);
    onSelect(option11_, &Interlocks::option11Click);
    onSelect(option12_, &Interlocks::option12Click);
    connect(check12_, &QCheckBox::stateChanged, this, &Interlocks::check12Click);
    connect(slider1_, &QSlider::valueChanged, this, &Interlocks::slider1Scroll);
    // Gamma and frame skip show their value only after a click with the mouse.
    const auto clicked = [&](QSlider* slider, void (Interlocks::*handler)()) {
        auto* clickable = qobject_cast<widgets::ClickSlider*>(slider);
        if (clickable != nullptr) {
            connect(clickable, &widgets::ClickSlider::clicked, this, handler);
        }
    };
    clicked(slider2_, &Interlocks::slider2Click);
    clicked(slider3_, &Interlocks::slider3Click);
}

void Interlocks::writeSliderLabels() {
    label7_->setText(kCpuPrefix + QString::number(slider1_->value()));
    label14_->setText(kFrameSkipPrefix + QString::number(slider3_->value()));
    label13_->setText(kGammaPrefix + QString::number(slider2_->value()));
}

// An exclusive button cannot be unchecked while it is exclusive.
void Interlocks::deselect(QRadioButton& option) {
    option.setAutoExclusive(false);
    option.setChecked(false);
    option.setAutoExclusive(true);
}

void Interlocks::disableAndClear(QCheckBox& box) {
    box.setEnabled(false);
    box.setCheckState(Qt::Unchecked);
}

// 256 colours: gamma and the new graphics engine become available.
void Interlocks::option3Click() {
    slider2_->setEnabled(true);
    label13_->setEnabled(true);
    check15_->setText(QStringLiteral("Enable Eagle"));
    check19_->setEnabled(true);
}

void Interlocks::option4Click() {
    slider2_->setEnabled(false);
    label13_->setEnabled(false);
    slider2_->setValue(0);
    check15_->setText(QStringLiteral("Interpolation"));
    check19_->setEnabled(false);
    check19_->setCheckState(Qt::Unchecked);
}

// Normal mode: only the two small resolutions, always in 256 colours.
void Interlocks::option5Click() {
    option7_->setEnabled(true);
    option8_->setEnabled(true);
    option11_->setEnabled(false);
    option12_->setEnabled(false);
    option4_->setEnabled(false);
    option3_->setChecked(true);
    deselect(*option11_);
    deselect(*option12_);
    disableAndClear(*check17_);
    disableAndClear(*check18_);
    disableAndClear(*check15_);
}

void Interlocks::option6Click() {
    option7_->setEnabled(true);
    option8_->setEnabled(true);
    option11_->setEnabled(true);
    option12_->setEnabled(true);
    option4_->setEnabled(true);
    check17_->setEnabled(option8_->isChecked());
    check18_->setEnabled(true);
    deselect(*option7_);
    option7_->setEnabled(false);
}

void Interlocks::option7Click() {
    check16_->setEnabled(true);
    disableAndClear(*check15_);
    disableAndClear(*check17_);
    disableAndClear(*check18_);
}

void Interlocks::option8Click() {
    disableAndClear(*check16_);
    disableAndClear(*check15_);
    if (option6_->isChecked()) {
        check17_->setEnabled(true);
    }
    disableAndClear(*check18_);
}

void Interlocks::option11Click() {
    check16_->setEnabled(true);
    check15_->setEnabled(true);
    check17_->setEnabled(true);
    if (option6_->isChecked()) {
        check18_->setEnabled(true);
    }
    check17_->setText(QStringLiteral("No Image Scale"));
}

void Interlocks::option12Click() {
    disableAndClear(*check16_);
    disableAndClear(*check15_);
    disableAndClear(*check17_);
    disableAndClear(*check18_);
}

// Automatic frame skip takes the manual value away; the rule flips rather than copies, so the
// slider is usable exactly while the box is clear.
void Interlocks::check12Click() {
    slider3_->setEnabled(!slider3_->isEnabled());
    label14_->setEnabled(!label14_->isEnabled());
    if (!slider3_->isEnabled()) {
        slider3_->setValue(0);
    }
}

void Interlocks::slider1Scroll() {
    label7_->setText(kCpuPrefix + QString::number(slider1_->value()));
}

void Interlocks::slider2Click() {
    label13_->setText(kGammaPrefix + QString::number(slider2_->value()));
}

void Interlocks::slider3Click() {
    label14_->setText(kFrameSkipPrefix + QString::number(slider3_->value()));
}

}  // namespace velmor::interlocks
