#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace velmor::dialogs {

// Loading: the borderless splash shown while the settings load, and shown again as the About
// box. It floats above other windows without taking the focus from them. A click on its
// background, its logo or its version text closes it; the progress text and bar do not react,
// so that a click meant for them does not end the splash by surprise. Closing only hides it:
// the owner decides when it goes away.
class LoadingWindow final : public QWidget {
    Q_OBJECT

  public:
    explicit LoadingWindow(QWidget* parent = nullptr);

    // Moves the progress bar, clamped to its range of 0 to 200.
    void setProgress(int value);
    int progress() const { return position_; }
    // Shows the window cut down to the logo and the version text, as the About box.
    void showAsAbout();
    bool isOpen() const { return isVisible(); }

  signals:
    void closed();
    void progressChanged(int position);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Every showing is centred on the screen.
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* line(const char* name, int x1, int y1, int x2, int y2);
    void placeLine(QWidget* line, int x1, int y1, int x2, int y2);
    void showProgress();

    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QWidget* bottomLine_ = nullptr;
    bool pressed_ = false;
    int position_ = 0;
    QElapsedTimer shown_;  // since the bar last showed a new position
    QTimer paintTimer_;
};

}  // namespace velmor::dialogs
