#include "spcplay/PlayerWindow.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmor::spcplay {

namespace {

QString minutesAndSeconds(qint64 ms) {
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace

QString timeText(qint64 playedMs, qint64 lengthMs) {
    return minutesAndSeconds(playedMs) + QStringLiteral(" / ") + minutesAndSeconds(lengthMs);
}

PlayerWindow::PlayerWindow(const QString& songTitle, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SpcPlayer"));
    setWindowTitle(QStringLiteral("SPCPLAY"));
    setFocusPolicy(Qt::StrongFocus);

    m_title = new QLabel(songTitle, this);
    m_title->setObjectName(QStringLiteral("SongTitle"));
    m_title->setTextFormat(Qt::PlainText);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Status"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    m_time = new QLabel(this);
    m_time->setObjectName(QStringLiteral("PlayTime"));

    // The buttons never take the focus: the keys Velmor sends must reach the window itself.
    auto* stop = new QPushButton(QStringLiteral("Stop"), this);
    stop->setObjectName(QStringLiteral("StopButton"));
    stop->setFocusPolicy(Qt::NoFocus);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setFocusPolicy(Qt::NoFocus);
    connect(stop, &QPushButton::clicked, this, &PlayerWindow::stopRequested);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_time, 1);
    buttons->addWidget(stop);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    setMinimumWidth(280);
}

void PlayerWindow::setStatus(const QString& status) {
    m_status->setText(status);
}

void PlayerWindow::setTime(qint64 playedMs, qint64 lengthMs) {
    m_time->setText(timeText(playedMs, lengthMs));
}

bool PlayerWindow::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit stopRequested();
            return true;
        }
        if (key == Qt::Key_Tab) {
            close();
            return true;
        }
    }
    return QWidget::event(event);
}

}  // namespace velmor::spcplay
