#include "widgets/FitLabel.h"

#include <QEvent>
#include <QMetaObject>

namespace velmor::widgets {

FitLabel::FitLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void FitLabel::fit() {
    fitPending_ = false;
    const QSize wanted = sizeHint();
    if (wanted.isValid() && size() != wanted) {
        resize(wanted);
    }
}

void FitLabel::paintEvent(QPaintEvent* event) {
    if (!fitPending_ && size() != sizeHint()) {
        fitPending_ = true;
        QMetaObject::invokeMethod(this, &FitLabel::fit, Qt::QueuedConnection);
    }
    QLabel::paintEvent(event);
}

void FitLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        fit();
    }
}

}  // namespace velmor::widgets
