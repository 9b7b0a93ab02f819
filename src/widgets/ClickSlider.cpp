#include "widgets/ClickSlider.h"

#include <QMouseEvent>

namespace velmor::widgets {

ClickSlider::ClickSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void ClickSlider::mousePressEvent(QMouseEvent* event) {
    pressed_ = true;
    QSlider::mousePressEvent(event);
}

void ClickSlider::mouseReleaseEvent(QMouseEvent* event) {
    // Let the slider settle its value first, so whoever hears the click reads the final one.
    QSlider::mouseReleaseEvent(event);
    if (pressed_) {
        pressed_ = false;
        emit clicked();
    }
}

}  // namespace velmor::widgets
