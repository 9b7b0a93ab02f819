#include "widgets/CancelOnEscape.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

namespace velmor::widgets {
namespace {

// Keys that no control of the window took pass through the window on their way up, and so
// through its event filters.
class EscapeFilter final : public QObject {
  public:
    EscapeFilter(QWidget& window, QAbstractButton& cancel) : QObject(&window), cancel_(cancel) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                cancel_.click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QAbstractButton& cancel_;
};

}  // namespace

void cancelOnEscape(QWidget& window, QAbstractButton& cancel) {
    window.installEventFilter(new EscapeFilter(window, cancel));
}

}  // namespace velmor::widgets
