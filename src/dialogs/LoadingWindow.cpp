#include "dialogs/LoadingWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QScreen>
#include <algorithm>

#include "widgets/Artwork.h"
#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::dialogs {

using widgets::twipRect;
using widgets::twips;

namespace {

constexpr int kProgressMaximum = 200;
// The bar is painted at most once a frame.
constexpr int kFrameMs = 16;

}  // namespace

LoadingWindow::LoadingWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::SplashScreen | Qt::FramelessWindowHint |
                          Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
    setObjectName(QStringLiteral("Loading"));
    setWindowTitle(QStringLiteral("Velmor"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(widgets::dialogFont());
    widgets::paintDark(this);
    setFixedSize(twips(4608), twips(3048));

    widgets::picture(this, "Image1",
                     widgets::artwork::picture(widgets::artwork::Picture::ProductLogo),
                     twipRect(120, 0, 4410, 1770), true);

    QLabel* version = widgets::label(this, "Label2", QStringLiteral("Version 0.5"),
                                     twipRect(2880, 1560, 1695, 255));
    version->setFont(widgets::dialogFont(12.0, true));

    status_ =
        widgets::label(this, "Label1", QStringLiteral("Please wait while loading configuration"),
                       twipRect(240, 2160, 2895, 255));
    status_->setFont(widgets::dialogFont(9.6));
    // The box was measured for a narrower face; where the text needs more, let it run on
    // rather than cut it.
    status_->resize(std::max(status_->width(), status_->sizeHint().width()), status_->height());
    // Clicks on the progress text and bar stay with them instead of reaching the window.
    status_->setAttribute(Qt::WA_NoMousePropagation);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setGeometry(twipRect(240, 2520, 4095, 255));
    progress_->setRange(0, kProgressMaximum);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setPalette(widgets::systemPalette());
    progress_->setAttribute(Qt::WA_NoMousePropagation);
    paintTimer_.setSingleShot(true);
    connect(&paintTimer_, &QTimer::timeout, this, &LoadingWindow::showProgress);

    bottomLine_ = line("Line1", 0, 3000, 4560, 3000);
    line("Line2", 0, 0, 4560, 0);
    line("Line3", 4560, 3000, 4560, 0);
    line("Line4", 0, 3000, 0, 0);
}

QWidget* LoadingWindow::line(const char* name, int x1, int y1, int x2, int y2) {
    auto* result = new QWidget(this);
    result->setObjectName(QString::fromLatin1(name));
    QPalette palette = result->palette();
    palette.setColor(QPalette::Window, widgets::systemPalette().color(QPalette::Button));
    result->setPalette(palette);
    result->setAutoFillBackground(true);
    // A line is drawing, not a control: a click on it is a click on the window.
    result->setAttribute(Qt::WA_TransparentForMouseEvents);
    placeLine(result, x1, y1, x2, y2);
    return result;
}

void LoadingWindow::placeLine(QWidget* line, int x1, int y1, int x2, int y2) {
    const QPoint from(twips(std::min(x1, x2)), twips(std::min(y1, y2)));
    const QPoint to(twips(std::max(x1, x2)), twips(std::max(y1, y2)));
    line->setGeometry(QRect(from, to));  // both ends included: one pixel thick
}

// Loading moves the bar forty times within a few milliseconds, and a progress bar repaints
// itself at each change: drawing it would cost more than the loading. The position is kept at
// once, but shown at most once a frame, and at once when it reaches its end.
void LoadingWindow::setProgress(int value) {
    const int position = std::clamp(value, 0, kProgressMaximum);
    if (position == position_) {
        return;
    }
    position_ = position;
    emit progressChanged(position_);
    if (position_ == kProgressMaximum || !shown_.isValid() || shown_.elapsed() >= kFrameMs) {
        showProgress();
    } else if (!paintTimer_.isActive()) {
        paintTimer_.start(static_cast<int>(kFrameMs - shown_.elapsed()));
    }
}

void LoadingWindow::showProgress() {
    paintTimer_.stop();
    progress_->setValue(position_);
    shown_.restart();
}

void LoadingWindow::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen()) {
        QRect place = geometry();
        place.moveCenter(screen->availableGeometry().center());
        move(place.topLeft());
    }
    QWidget::showEvent(event);
}

void LoadingWindow::showAsAbout() {
    setFixedSize(twips(4608), twips(1850));
    placeLine(bottomLine_, 0, 1815, 4560, 1815);
    progress_->hide();
    status_->hide();
    show();
}

void LoadingWindow::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LoadingWindow::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        close();
    }
}

void LoadingWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    emit closed();
}

}  // namespace velmor::dialogs
