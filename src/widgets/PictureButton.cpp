#include "widgets/PictureButton.h"

#include <QIcon>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace velmor::widgets {

PictureButton::PictureButton(QWidget* parent) : QPushButton(parent) {
    setFlat(true);
}

void PictureButton::setPictures(const QPixmap& face, const QPixmap& pressed) {
    face_ = face;
    pressed_ = pressed;
    // The icon carries the face too, so the button reads right to tools and accessibility.
    setIcon(QIcon(face_));
    setIconSize(size());
    update();
}

void PictureButton::resizeEvent(QResizeEvent* event) {
    setIconSize(size());
    QPushButton::resizeEvent(event);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& picture = isDown() && !pressed_.isNull() ? pressed_ : face_;
    if (!picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), picture);
    }
    if (!isEnabled()) {
        painter.fillRect(rect(), QColor(0, 0, 0, 120));
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

}  // namespace velmor::widgets
