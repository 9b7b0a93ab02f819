#pragma once

#include <QObject>

class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;
class QWidget;

namespace velmor::interlocks {

// The rules by which the video options enable, disable, clear, select and relabel one another,
// and the slider value labels. The rules run whenever their control changes, whether the user
// or the program changed it.
class Interlocks final : public QObject {
    Q_OBJECT
  public:
    // Finds the controls by name in `form` and connects the rules to them.
    explicit Interlocks(QWidget& form);

    // The value labels of the three sliders written from the sliders' positions.
    void writeSliderLabels();

    // Leaves an option button unselected, so its group may have none selected.
    static void deselect(QRadioButton& option);

  private:
    void option3Click();
    void option4Click();
    void option5Click();
    void option6Click();
    void option7Click();
    void option8Click();
    void option11Click();
    void option12Click();
    void check12Click();
    void slider1Scroll();
    void slider2Click();
    void slider3Click();

    static void disableAndClear(QCheckBox& box);

    QRadioButton* option3_;
    QRadioButton* option4_;
    QRadioButton* option5_;
    QRadioButton* option6_;
    QRadioButton* option7_;
    QRadioButton* option8_;
    QRadioButton* option11_;
    QRadioButton* option12_;
    QCheckBox* check12_;
    QCheckBox* check15_;
    QCheckBox* check16_;
    QCheckBox* check17_;
    QCheckBox* check18_;
    QCheckBox* check19_;
    QSlider* slider1_;
    QSlider* slider2_;
    QSlider* slider3_;
    QLabel* label7_;
    QLabel* label13_;
    QLabel* label14_;
};

}  // namespace velmor::interlocks
