#pragma once

class QAbstractButton;
class QWidget;

namespace velmor::widgets {

// Escape, pressed anywhere in `window` without a modifier and not taken by the control that has
// the focus, clicks `cancel`, as in a dialog.
void cancelOnEscape(QWidget& window, QAbstractButton& cancel);

}  // namespace velmor::widgets
