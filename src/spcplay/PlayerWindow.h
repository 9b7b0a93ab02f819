#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace velmor::spcplay {

// The player's small window, titled "SPCPLAY" so that Velmor finds it. It answers SPCPlay's
// keys: Return stops the song and Tab closes the program.
class PlayerWindow final : public QWidget {
    Q_OBJECT
  public:
    explicit PlayerWindow(const QString& songTitle, QWidget* parent = nullptr);

    // The state shown under the title: "Playing", "Stopped", "Ended", or what went wrong.
    void setStatus(const QString& status);
    void setTime(qint64 playedMs, qint64 lengthMs);

  signals:
    void stopRequested();

  protected:
    // Tab must close the program rather than move the focus, so keys are taken before Qt's own
    // focus handling sees them.
    bool event(QEvent* event) override;

  private:
    QLabel* m_title;
    QLabel* m_status;
    QLabel* m_time;
};

// "1:05 / 3:00".
QString timeText(qint64 playedMs, qint64 lengthMs);

}  // namespace velmor::spcplay
