#pragma once

#include <QWidget>

namespace velmor::app {

// The options tab: the emulator's general switches, ROM and timing overrides, and the speed
// slider.
class OptionsPage final : public QWidget {
    Q_OBJECT

  public:
    explicit OptionsPage(QWidget* parent = nullptr);
};

}  // namespace velmor::app
