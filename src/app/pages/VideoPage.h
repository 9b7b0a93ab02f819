#pragma once

#include <QWidget>

namespace velmor::app {

// The video tab: colour depth, video mode, resolution, the picture switches, and the
// frame-skip and gamma sliders.
class VideoPage final : public QWidget {
    Q_OBJECT

  public:
    explicit VideoPage(QWidget* parent = nullptr);
};

}  // namespace velmor::app
