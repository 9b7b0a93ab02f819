#pragma once

#include <QSlider>

namespace velmor::widgets {

// A horizontal slider that also reports a finished mouse click, as the video tab's gamma and
// frame-skip sliders are handled on the click rather than on every step of the thumb.
class ClickSlider final : public QSlider {
    Q_OBJECT

  public:
    explicit ClickSlider(QWidget* parent = nullptr);

  signals:
    // A press and then a release on the slider; value() already holds the final position.
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace velmor::widgets
