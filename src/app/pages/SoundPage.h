#pragma once

#include <QWidget>

namespace velmor::app {

// The sound tab: the emulator's sound switches and the sampling rate.
class SoundPage final : public QWidget {
    Q_OBJECT

  public:
    explicit SoundPage(QWidget* parent = nullptr);
};

}  // namespace velmor::app
