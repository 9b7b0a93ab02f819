#pragma once

#include <QLabel>

namespace velmor::widgets {

// A label that keeps itself exactly as large as its text, growing and shrinking from its top
// left corner. The value labels of the sliders are rewritten while the program runs, and a
// fixed box would cut their numbers off.
class FitLabel final : public QLabel {
    Q_OBJECT

  public:
    FitLabel(const QString& text, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // QLabel says nothing when its text changes, but it repaints: a paint that finds the size
    // wrong asks for a fit once the paint is over.
    void fit();
    bool fitPending_ = false;
};

}  // namespace velmor::widgets
